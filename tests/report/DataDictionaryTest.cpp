// The data dictionary: its record in the current and older layouts, field references through
// its cache, variables as expressions, aliases.
#include <gtest/gtest.h>

#include <QBuffer>

#include "QtPrinters.h"
#include "report/data/DataDictionary.h"
#include "report/data/MemoryTable.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

QByteArray Saved(const TrpDataDictionary& dictionary)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    dictionary.SaveToStream(buffer);
    return buffer.data();
}

void Load(TrpDataDictionary& dictionary, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    dictionary.LoadFromStream(buffer);
    EXPECT_TRUE(buffer.atEnd());
}

QByteArray Int32(int32_t value)
{
    return QByteArray(reinterpret_cast<const char*>(&value), 4);
}

QByteArray ShortText(const QByteArray& text)
{
    return char(text.size()) + text;
}

QStringList Entries(const TrpVariables& list)
{
    QStringList entries;
    for (int i = 0; i < list.Count(); ++i)
        entries << list.NameAt(i) + QLatin1Char('=') + VarToStr(list.ValueAt(i));
    return entries;
}

class DataDictionaryRecord : public ::testing::Test {
protected:
    TrpRunContext context;
};

TEST_F(DataDictionaryRecord, EmptyDictionaryIsFourteenOctets)
{
    TrpDataDictionary dictionary(context);
    EXPECT_EQ(Saved(dictionary), QByteArray::fromHex("feff" "00000000" "00000000" "00000000"));
}

TEST_F(DataDictionaryRecord, RoundTrip)
{
    TrpDataDictionary dictionary(context);
    dictionary.Variables.SetValueByName(QStringLiteral(" Итоги"), QString());
    dictionary.Variables.SetValueByName(QStringLiteral("Сумма"), QStringLiteral("2+3"));
    dictionary.Variables.SetValueByName(QStringLiteral("Поле"), QStringLiteral("dmReport.\"TD1\""));
    dictionary.FieldAliasList.SetValueByName(QStringLiteral("dmReport"), QStringLiteral("Отчёт"));
    dictionary.BandSources.SetValueByName(QStringLiteral("Band1"), QStringLiteral("dsReport"));
    const QByteArray bytes = Saved(dictionary);

    TrpDataDictionary read(context);
    read.Variables.SetValueByName(QStringLiteral("old"), 1);   // reading replaces everything
    Load(read, bytes);
    EXPECT_EQ(Entries(read.Variables), Entries(dictionary.Variables));
    EXPECT_EQ(Entries(read.FieldAliasList), QStringList{"dmReport=Отчёт"});
    EXPECT_EQ(Entries(read.BandSources), QStringList{"Band1=dsReport"});
    EXPECT_EQ(Saved(read), bytes);
}

TEST_F(DataDictionaryRecord, CategoriesMarkedTheOtherWayRound)
{
    TrpDataDictionary dictionary(context);
    dictionary.Variables.SetValueByName(QStringLiteral("Category"), QString());
    dictionary.Variables.SetValueByName(QStringLiteral(" Var"), QStringLiteral("1"));
    TrpDataDictionary read(context);
    Load(read, Saved(dictionary));
    EXPECT_EQ(Entries(read.Variables), (QStringList{" Category=", "Var=1"}));
}

TEST_F(DataDictionaryRecord, OlderMarkerIsCleanedUp)
{
    TrpDataDictionary dictionary(context);
    dictionary.FieldAliasList.SetValueByName(QStringLiteral("dmNowhere.\"X\""), QString());   // no alias, no field
    dictionary.FieldAliasList.SetValueByName(QStringLiteral("dmNowhere"), QStringLiteral("Named"));
    dictionary.BandSources.SetValueByName(QStringLiteral("Band1"), QString());
    dictionary.BandSources.SetValueByName(QStringLiteral("Band2"), QStringLiteral("dsReport"));
    QByteArray bytes = Saved(dictionary);
    bytes[0] = char(0xFF);   // marker -1
    TrpDataDictionary read(context);
    Load(read, bytes);
    EXPECT_EQ(Entries(read.FieldAliasList), QStringList{"dmNowhere=Named"});
    EXPECT_EQ(Entries(read.BandSources), QStringList{"Band2=dsReport"});
}

TEST_F(DataDictionaryRecord, OldestLayout)
{
    context.TemplateVersion = 22;   // the oldest templates keep the zero-terminated string lists
    QByteArray bytes = Int32(4);
    bytes += '\x02' + Int32(0) + ShortText("") + ShortText("") + ShortText("Page");
    bytes += '\x02' + Int32(1) + ShortText("") + ShortText("x+1") + ShortText("Formula");
    bytes += '\x01' + Int32(0) + ShortText("dmReport") + ShortText("TD1") + ShortText("Temp");
    bytes += '\x02' + Int32(99) + ShortText("") + ShortText("") + ShortText("Odd");   // no such variable
    bytes += QByteArray("Group\r Page\r Formula\r Temp\r Odd") + '\0';
    TrpDataDictionary read(context);
    Load(read, bytes);
    EXPECT_EQ(Entries(read.Variables),
              (QStringList{" Group=", "Page=PAGE#", "Formula=x+1", "Temp=dmReport.\"TD1\"", "Odd="}));
    EXPECT_EQ(read.FieldAliasList.Count(), 0);
}

TEST_F(DataDictionaryRecord, BrokenRecordsRaiseReadErrors)
{
    TrpDataDictionary read(context);
    QBuffer buffer;
    for (const QByteArray& bytes : {QByteArray::fromHex("feff" "01000000" "0500"),   // a name runs past the end
                                    QByteArray::fromHex("feff" "ffffffff"),            // a negative count
                                    QByteArray::fromHex("fe")}) {
        buffer.close();
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_THROW(read.LoadFromStream(buffer), EReadError) << bytes.toHex().constData();
    }
}

// A report on the main window with the protocol table dmReport.
class DictionaryLookup : public ::testing::Test {
protected:
    DictionaryLookup()
    {
        window.setObjectName(QStringLiteral("fmMain"));
        table->setObjectName(QStringLiteral("dmReport"));
        table->AddField(QStringLiteral("SilName"), ftString, 10);
        table->AddField(QStringLiteral("TD1"), ftFloat);
        table->Open();
        for (const auto& [name, td1] : {std::pair{"С-1", 12.5}, std::pair{"С-2", 20.0}}) {
            table->Append();
            table->Field(QStringLiteral("SilName"))->SetValue(QString::fromUtf8(name));
            table->Field(QStringLiteral("TD1"))->SetValue(td1);
            table->Post();
        }
        table->First();
        table->Close();
        context.CurrentReport = &report;
        // Names in expressions go to the dictionary, as the report's resolution does first.
        context.ReportParser.OnGetValue = [this](const QString& name, QVariant& value) {
            if (dictionary.IsVariable(name))
                value = dictionary.GetValue(name);
        };
    }

    TrpRunContext context;
    QObject window;
    TMemoryTable* table = new TMemoryTable(&window);
    TrpReport report{context, &window};
    TrpDataDictionary& dictionary = report.Dictionary;
};

TEST_F(DictionaryLookup, FieldReferenceThroughTheCache)
{
    const QString reference = QStringLiteral("dmReport.\"TD1\"");
    ASSERT_TRUE(dictionary.IsVariable(reference));
    EXPECT_EQ(dictionary.GetValue(reference), QVariant(12.5));   // the closed table is opened
    EXPECT_TRUE(table->Active());
    table->Next();
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("DMREPORT.\"td1\"")), QVariant(20.0));   // cached, any case
    EXPECT_FALSE(dictionary.IsVariable(QStringLiteral("dmReport.\"TD9\"")));
    EXPECT_FALSE(dictionary.IsVariable(QStringLiteral("dmOther.\"TD1\"")));
    EXPECT_TRUE(VarIsNull(dictionary.GetValue(QStringLiteral("dmOther.\"TD1\""))));

    dictionary.ClearCache();
    delete table;   // a cached table that is gone is forgotten
    EXPECT_FALSE(dictionary.IsVariable(reference));
}

TEST_F(DictionaryLookup, VariablesAreExpressions)
{
    dictionary.Variables.SetValueByName(QStringLiteral(" Итоги"), QString());
    dictionary.Variables.SetValueByName(QStringLiteral("Sum"), QStringLiteral("2+3"));
    dictionary.Variables.SetValueByName(QStringLiteral("Twice"), QStringLiteral("Sum * 2"));
    dictionary.Variables.SetValueByName(QStringLiteral("Silo"), QStringLiteral("dmReport.\"SilName\""));
    dictionary.Variables.SetValueByName(QStringLiteral("Empty"), QString());
    dictionary.Variables.SetValueByName(QStringLiteral("Number"), 7);
    EXPECT_TRUE(dictionary.IsVariable(QStringLiteral("sum")));
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Sum")), QVariant(5.0));
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Twice")), QVariant(10.0));
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Empty")), QVariant(QString()));
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Number")), QVariant(7));
    ASSERT_TRUE(dictionary.IsVariable(QStringLiteral("Silo")));   // a field: cached under the name
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Silo")), QVariant(QStringLiteral("С-1")));

    context.ScriptVariables.SetValueByName(QStringLiteral("SUM"), 42);   // a script variable wins
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Sum")), QVariant(42));
}

TEST_F(DictionaryLookup, SelfReferringVariablesEndWithAClearError)
{
    dictionary.Variables.SetValueByName(QStringLiteral("X"), QStringLiteral("X + 1"));
    dictionary.Variables.SetValueByName(QStringLiteral("A"), QStringLiteral("B * 2"));
    dictionary.Variables.SetValueByName(QStringLiteral("B"), QStringLiteral("1 + a"));
    for (const char* name : {"X", "A"}) {
        try {
            dictionary.GetValue(QString::fromLatin1(name));
            FAIL() << name;
        } catch (const EParserError& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Variable \"%1\" refers to itself").arg(name));
        }
    }
    dictionary.Variables.SetValueByName(QStringLiteral("X"), QStringLiteral("3"));   // usable again afterwards
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("X")), QVariant(3.0));
}

TEST_F(DictionaryLookup, AliasesOfDataSetsAndFields)
{
    dictionary.FieldAliasList.SetValueByName(QStringLiteral("dmReport"), QStringLiteral("Протокол"));
    dictionary.FieldAliasList.SetValueByName(QStringLiteral("dmReport.\"TD1\""), QStringLiteral("Температура"));
    EXPECT_EQ(dictionary.RealDataSetName(QStringLiteral("протокол")), QStringLiteral("dmReport"));
    EXPECT_EQ(dictionary.RealDataSetName(QStringLiteral("Other")), QStringLiteral("Other"));
    ASSERT_TRUE(dictionary.IsVariable(QStringLiteral("Протокол.\"Температура\"")));
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Протокол.\"Температура\"")), QVariant(12.5));
    ASSERT_TRUE(dictionary.IsVariable(QStringLiteral("Протокол.SilName")));
    EXPECT_EQ(dictionary.GetValue(QStringLiteral("Протокол.SilName")), QVariant(QStringLiteral("С-1")));
}

TEST(DataDictionarySplit, LastPointOutsideQuotes)
{
    const struct {
        const char* name;
        const char* dataSet;
        const char* field;
    } cases[] = {
        {"dmReport.\"TD1\"", "dmReport", "TD1"},
        {"fmMain.dmReport.\"a.b\"", "fmMain.dmReport", "a.b"},
        {"dmReport.TD1", "dmReport", "TD1"},
        {"TD1", "", "TD1"},
    };
    for (const auto& c : cases) {
        QString dataSet, field;
        TrpDataDictionary::SplitFieldName(QString::fromLatin1(c.name), dataSet, field);
        EXPECT_EQ(dataSet, QString::fromLatin1(c.dataSet)) << c.name;
        EXPECT_EQ(field, QString::fromLatin1(c.field)) << c.name;
    }
}

}  // namespace
