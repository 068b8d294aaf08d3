#pragma once
// A report with one page of objects in a run context of its own, as a build sees them, and the
// object records written to and read from memory.
#include <gtest/gtest.h>

#include <memory>

#include <QBuffer>

#include "QtPrinters.h"
#include "report/engine/Report.h"
#include "report/objects/View.h"
#include "report/runtime/RunContext.h"

class ReportObjects : public ::testing::Test {
protected:
    ReportObjects()
    {
        report->setObjectName(QStringLiteral("rpReport"));
        page = report->AddPage();   // A4 on the virtual printer
        context.CurrentReport = context.RootReport = report.get();
        report->BindParser();
    }

    template <class T>
    T* Add()
    {
        return static_cast<T*>(page->AddObject(std::make_unique<T>()));
    }

    // The object's record in the form its PrintedForm chooses, at the context's version.
    static QByteArray Record(TrpView& view)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        view.SaveToStream(buffer);
        return buffer.data();
    }

    // The object's entry on a prepared page as a build prints it; empty when it prints nothing.
    static QByteArray PrintEntry(TrpView& view)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        view.PrintToStream(buffer);
        return buffer.data();
    }

    // The report gives fieldValue for the field FIELD and counts how often it is asked for.
    void ServeField()
    {
        report->OnGetValue = [this](const QString& name, QVariant& value) {
            if (name == QLatin1String("FIELD")) {
                ++expansions;
                value = fieldValue;
            }
        };
    }

    // A new object of the class, on the page, read from the bytes in the chosen form.
    template <class T>
    T* Read(const QByteArray& bytes, bool printedForm = false)
    {
        T* view = Add<T>();
        view->PrintedForm = printedForm;
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        view->LoadFromStream(buffer);
        EXPECT_EQ(buffer.pos(), bytes.size()) << "the whole record is read";
        return view;
    }

    TrpRunContext context;
    std::unique_ptr<TrpReport> report = std::make_unique<TrpReport>(context);
    TrpPage* page = nullptr;
    QVariant fieldValue;
    int expansions = 0;
};
