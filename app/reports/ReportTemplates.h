#pragma once
// The state reports' templates, shipped as resources of the program (":/reports/<report
// name>.template", written by tools/report_templates) and read into their reports at start
// through the engine's template reader.
#include <QByteArray>
#include <QString>

class TrpReport;

// The template stream of the report of that component name; empty when the program has none.
QByteArray StateReportTemplate(const QString& reportName);

// Reads the template named after the report's component name into the report; a template the
// reader refuses is told in the engine's error box. False when it was not read whole.
bool LoadStateReportTemplate(TrpReport& report);
