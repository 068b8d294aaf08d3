#pragma once
// What a silo-block frame needs of the main window's sensor detail list: when the operator
// focuses a cell, the list shows that suspension's sensors under a caption naming the silo.
class QString;
class TSilos;

class IDetailView {
public:
    virtual ~IDetailView() = default;
    // Shows the suspension's sensors, the top sensor first, with the caption over the list;
    // nullptr shows one row without a sensor per sensor of a suspension.
    virtual void ShowSilosDetail(const QString& caption, TSilos* silos) = 0;
};
