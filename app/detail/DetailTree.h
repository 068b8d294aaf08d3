#pragma once
// The sensor detail tree `vtDetal`: its looks, its rows and the seams through which the main
// window and the silo-block frames fill it. The rows live in a TDetalModel owned by the tree.
#include <QString>

class IDetailView;
class QTreeView;
class TDetalModel;
class TSilos;
struct Parameters;

// Every row is this many pixels high.
inline constexpr int kDetalRowHeight = 30;

// Gives the tree its model, fonts, grid lines, row height and columns; the cells show the sensors
// as the settings say.
void SetupDetalTree(QTreeView& tree, const Parameters& settings);
// The tree's rows; nullptr when the tree was not set up.
TDetalModel* DetalModelOf(const QTreeView& tree);

// What a silo-block frame does when its focused cell changes: the rows become the suspension's
// sensors, the top sensor first (rows without a sensor, as many as a suspension has sensors,
// when there is none), and the caption goes over the tree (on its group box).
void ShowSilosInDetail(QTreeView& tree, const QString& caption, const TSilos* silos);
// The same for the frames, which know the tree only as a detail view; made by SetupDetalTree
// and owned by the tree. nullptr when the tree was not set up.
IDetailView* DetalViewOf(const QTreeView& tree);

// After the configuration changed: count rows without a sensor, the columns fitted and the tree
// just high enough for them.
void ResetDetalRows(QTreeView& tree, int count);

// The sensors' values changed: the cells are painted again and the columns widened to fit.
void RepaintDetal(QTreeView& tree);

// Columns only grow: each becomes at least as wide as its widest text plus 20 pixels, the
// value column at least 100 pixels.
void FitDetalColumns(QTreeView& tree);
