#include "report/runtime/ReportStrings.h"

#include <algorithm>
#include <iterator>

namespace {

struct TResourceString {
    int id;
    const char* text;   // UTF-8
};

// Sorted by number.
constexpr TResourceString kStrings[] = {
    // Find dialog of the preview.
    {53000, "Find text"},
    {53001, "Text to &find"},
    {53002, "Options"},
    {53003, "&Case sensitive"},
    {53004, "Origin"},
    {53005, "&1st page"},
    {53006, "Current &page"},
    // Preview toolbar and zoom menu.
    {53020, "&Page width"},
    {53021, "&Whole page"},
    {53022, "&Two pages"},
    {53023, "Close preview"},
    {53024, "Scale"},
    {53025, "Open report"},
    {53026, "Save report"},
    {53027, "Print report"},
    {53028, "Find text"},
    {53032, "Show help"},
    // Print dialog.
    {53040, "Print"},
    {53041, "Printer"},
    {53042, "Properties"},
    {53043, "Copies"},
    {53044, "Page range"},
    {53045, "&All"},
    {53046, "Current pa&ge"},
    {53047, "&Pages:"},
    {53048, "Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12"},
    {53049, "&Name:"},
    {53050, "Number of &copies:"},
    {53051, "Co&llate"},
    {53052, "P&rint"},
    {53053, "All pages"},
    {53054, "Odd pages"},
    {53055, "Even pages"},
    // Display format dialog: caption and the labels of its edits.
    {53420, "Display format"},
    {53422, "Decimal digits"},
    {53423, "Decimal separator"},
    {53424, "Format string"},
    // Rich-text editor: its caption and the hints of its tool bar.
    {53560, "Форматированный текст"},
    {53561, "Открыть файл"},
    {53562, "Сохранить в файл"},
    {53563, "Отменить"},
    {53564, "Полужирный"},
    {53565, "Курсив"},
    {53566, "По левому краю"},
    {53567, "По центру"},
    {53568, "По правому краю"},
    {53569, "Подчёркнутый"},
    {53570, "Bullets"},
    {53571, "Шрифт"},
    {53572, "Отмена"},
    {53573, "ОК"},
    {53575, "Insert expression"},
    {53576, "Имя шрифта"},
    {53577, "Размер шрифта"},
    // Text export options.
    {54800, "TXT export options"},
    {54801, "&Kill empty lines"},
    {54802, "Convert to &DOS"},
    {54803, "Export &frames"},
    {54804, "Use DOS &pseudographic"},
    {54805, "Insert page &breaks"},
    {54806, "Scaling factor"},
    // RTF export options.
    {54845, " Page properties "},
    {54846, "Top margin"},
    {54847, "Left margin"},
    {54848, "Scale on X"},
    {54849, "Scale on Y"},
    {54850, " Quality settings "},
    {54860, "Page breaks"},
    {54863, "Pictures"},
    {54870, "Rich text file advanced (*.rtf)"},
    {54871, "Export to RTF"},
    {55000, "OK"},
    {55001, "Cancel"},
    {55004, "Page"},
    {55007, "Virtual printer"},
    // Band type names, in band type order.
    {55077, "Report title"},
    {55078, "Report summary"},
    {55079, "Page header"},
    {55080, "Page footer"},
    {55081, "Master header"},
    {55082, "Master data"},
    {55083, "Master footer"},
    {55084, "Detail header"},
    {55085, "Detail data"},
    {55086, "Detail footer"},
    {55087, "Subdetail header"},
    {55088, "Subdetail data"},
    {55089, "Subdetail footer"},
    {55090, "Overlay"},
    {55091, "Column header"},
    {55092, "Column footer"},
    {55093, "Group header"},
    {55094, "Group footer"},
    {55095, "Cross header"},
    {55096, "Cross data"},
    {55097, "Cross footer"},
    {55098, "Child"},
    {55099, "None"},
    // Display format categories, then their types (55150 + 5 x category + index).
    {55130, "Text"},
    {55131, "Number"},
    {55132, "Date"},
    {55133, "Time"},
    {55134, "Boolean"},
    {55150, "[None]"},
    {55155, "1234,5"},
    {55156, "1234,50"},
    {55157, "1 234,5"},
    {55158, "1 234,50"},
    {55159, "Custom"},
    {55160, "11.15.98"},
    {55161, "11.15.1998"},
    {55162, "15 nov 1998"},
    {55163, "15 november 1998"},
    {55164, "Custom"},
    {55165, "02:43:35"},
    {55166, "2:43:35"},
    {55167, "02:43"},
    {55168, "2:43"},
    {55169, "Custom"},
    // Boolean, date and time layouts of the predefined formats.
    {55170, "0;1"},
    {55171, "No;Yes"},
    {55172, "_;x"},
    {55173, "False;True"},
    {55174, "Custom"},
    {55175, "mm.dd.yy"},
    {55176, "mm.dd.yyyy"},
    {55177, "d mmm yyyy"},
    {55178, "d mmmm yyyy"},
    {55179, "hh:nn:ss"},
    {55180, "h:nn:ss"},
    {55181, "hh:nn"},
    {55182, "h:nn"},
    // Build, preview and print texts.
    {55199, "from"},
    {55200, "An error occured during calculating"},
    {55203, "Preparing report"},
    {55204, "Performing 1st pass:"},
    {55205, "Processing page:"},
    {55206, "Error"},
    {55207, "Preview"},
    {55208, "Printing page:"},
    {55209, "Untitled"},
    {55210, "Printer selected is not valid"},
    {55211, "Report file"},
    {55212, "ASCII Text file"},
    {55213, "Файл не является сохранённым отчётом"},
    {55214, "Сохранённый отчёт повреждён на странице %1"},
    {55215, "Sub-reports place one another in a ring: %1"},
    {55216, "Object %1 of band %2 fits on no page: it is %3 high, a page has room for %4"},
    {55218, "Rich text file"},
    {55223, "Форматированный текст"},   // the rich-text object's tool bar hint
    {55228, "Нет картинки"},   // an empty picture at design time
    {55337, "1"},   // the default font character set
    {55345, "Unsupported template format"},
    {55439, "Undefined symbol"},
    // Function list: the categories that are listed, and the description of FIELDISNULL.
    {55577, "Report info"},
    {55579, "Database"},
    {55580, "FIELDISNULL(<FieldName>)/Returns 'true' if DB-field is null"},
    // Descriptions of the report information names.
    {55623, "REPORTCOMMENT/Returns report comment"},
    {55624, "REPORTNAME/Returns report name"},
    {55625, "REPORTAUTOR/Returns report author"},
    {55626, "VMAJOR/Returns report major version"},
    {55627, "VMINOR/Returns report minor version"},
    {55628, "VRELEASE/Returns report release"},
    {55629, "VBUILD/Returns report build"},
    {55630, "REPORTDATE/Returns report creation date"},
    {55631, "REPORTLASTCHANGE/Returns date of the last report change"},
    // Password dialog.
    {55653, "Password"},
    {55654, "Enter password for opening report"},
    {55655, "Retype password for validate"},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const TResourceString& a, const TResourceString& b) { return a.id < b.id; }));

}  // namespace

QString ReportResourceString(int id)
{
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                     [](const TResourceString& s, int wanted) { return s.id < wanted; });
    return it != std::end(kStrings) && it->id == id ? QString::fromUtf8(it->text) : QString();
}
