#pragma once
// Saves a template as an XML text instead of the binary template, when the report is switched
// to do so (the program never switches it on). The template's parts reach the writer through
// the plain description below, which the report fills from its pages, objects and dictionary.
#include <vector>

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVariant>

// A report object as the writer needs it; the report's objects provide it.
class TXmlReportObject {
public:
    virtual ~TXmlReportObject() = default;
    virtual QString Name() const = 0;
    virtual QStringList Script() const = 0;
    virtual int Left() const = 0;
    virtual void SetLeft(int left) = 0;
    // The object's own element text, without its closing "/>".
    virtual void WriteXml(QIODevice& stream) = 0;
};

struct TXmlReportPage {
    bool dialog = false;
    QStringList script;
    std::vector<TXmlReportObject*> objects;

    // A report page, in page units (the positions of the right and bottom margins are
    // measured from the page's left and top edges).
    bool landscape = false;
    int paperWidth = 0;
    int paperHeight = 0;
    int paperSize = 0;
    int leftMargin = 0;
    int topMargin = 0;
    int rightMarginPosition = 0;
    int bottomMarginPosition = 0;
    int columns = 1;
    int columnWidth = 0;
    bool printOnPreviousPage = false;

    // A dialog page.
    int height = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int borderStyle = 0;
    QString caption;
    int color = 0;
    int position = 0;
};

struct TXmlReportVariable {
    QString name;
    QVariant value;
};

struct TXmlReport {
    QString name;
    QString author;
    QStringList description;
    double createDate = 0;
    double lastChange = 0;
    QString versionMajor;
    QString versionMinor;
    QString versionRelease;
    QString versionBuild;
    QString storedPassword;   // as the template keeps it
    std::vector<TXmlReportVariable> variables;
    std::vector<TXmlReportPage> pages;
};

// Writes the XML text as code page 1251 octets, lines ended by carriage return and line feed.
void SaveReportAsXml(const TXmlReport& report, QIODevice& stream);

// Page units in millimetres as the XML form counts them.
int PageUnitsToXmlMillimetres(int units);
