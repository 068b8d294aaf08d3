#pragma once
// The process-wide registration tables of report object classes and export filters (registries
// of classes, shared by every run context), and the factory that makes a report object from the
// type code a template or a prepared page holds. The tables grow as needed and keep the order
// of registration; nothing here is locked, the engine runs on the main thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include "report/objects/View.h"

class TrpRunContext;

// A class of report object: its name as streams carry it and how to make one.
struct TrpViewClass {
    QString ClassName;
    std::function<std::unique_ptr<TrpView>()> Create;
};

struct TrpAddInObjectInfo {
    TrpViewClass ClassRef;
    QImage ButtonBitmap;   // for a designer toolbar
    QString ButtonHint;
    uint8_t ControlFlag = 0;
};

struct TrpExportFilterInfo {
    QPointer<QObject> Filter;   // the export filter component; its class name identifies it
    QString Description;        // the text of the save dialog's type list
    QString FileMask;
};

// Add-in object classes (type code 10 in templates): appended unless a class of the same name is
// registered already. The engine's own add-in, the rich-text object, is registered with the
// built-in classes, before any other.
void RegisterReportObject(const TrpViewClass& classRef, const QImage& buttonBitmap = {}, const QString& buttonHint = {});
const std::vector<TrpAddInObjectInfo>& AddInObjects();

// The built-in classes of type codes 0 (memo) to 4 (line). Each object class fills its slot
// when the engine starts (RegisterStandardObjectClasses); a slot left empty gives none.
void RegisterStandardObjectClass(uint8_t typeCode, const TrpViewClass& classRef);
const TrpViewClass& StandardObjectClass(uint8_t typeCode);
void RegisterStandardObjectClasses();   // StandardObjects.cpp; the rich-text add-in too

// Export filters register themselves when made and unregister when destroyed; a filter class
// is listed once, whichever instance registered it.
void RegisterExportFilter(QObject* filter, const QString& description, const QString& fileMask);
void UnregisterExportFilter(QObject* filter);
const std::vector<TrpExportFilterInfo>& ExportFilterTable();

// Type codes 0 to 4 make the built-in classes, 10 the registered add-in class of that name
// (compared exactly); other codes give none. Every object made gets the context's next object
// number. An add-in class nobody registered sets the context's ErrorFlag, appends the name and
// a carriage return to its ErrorText and raises EClassNotFound with the whole ErrorText.
std::unique_ptr<TrpView> CreateReportObject(TrpRunContext& context, uint8_t typeCode,
                                            const QString& className = {});
