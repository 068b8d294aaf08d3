#pragma once
// The three templates of the operator application's state reports, stated as tables in code:
// the one-column and the two-column temperature protocol and the silo card, each one A4 design
// page of bands and memos. They are written through the engine's own template writer by the
// program report_templates into app/reports/templates, which the application carries as
// resources and reads at start; a test writes them again and compares, so that the tables here
// and the shipped streams cannot drift apart.
#include <QByteArray>
#include <QString>

enum class TStateReportTemplate { Protocol, Protocol2Col, SiloCard };

inline constexpr TStateReportTemplate kStateReportTemplates[] = {
    TStateReportTemplate::Protocol, TStateReportTemplate::Protocol2Col, TStateReportTemplate::SiloCard};

// The printer the templates were laid out for: a report selects it only where it is installed.
inline constexpr char kTemplatePrinter[] = "TASKalfa 3050ci";

// The report component that holds the template ("rpReport", "rpReport2Col", "rpSilBin"); its
// file is that name followed by ".template".
QString StateReportName(TStateReportTemplate which);
QString StateReportFileName(TStateReportTemplate which);

// The template as a version-25 stream. Everything but its last-change time (the last
// kLastChangeOctets octets, the time of writing) is the same at every writing.
QByteArray WriteStateReportTemplate(TStateReportTemplate which);
inline constexpr int kLastChangeOctets = 8;
