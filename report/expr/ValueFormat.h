#pragma once
// The text a value prints as, by a report object's display format word and format text:
//   bits 24-27 category: 0 text, 1 number, 2 date, 3 time, 4 Boolean;
//   bits 16-23 index within the category (4: the format text is the layout);
//   bits 8-15  decimals (numbers); bits 0-7 the decimal separator character (numbers).
// Formatting never fails outward: a value the format cannot take prints as its plain text.
#include <cstdint>

#include <QString>
#include <QVariant>

class TrpRunContext;

enum TFormatCategory : uint32_t { fcText = 0, fcNumber = 1, fcDate = 2, fcTime = 3, fcBoolean = 4 };
constexpr uint32_t kCustomFormatIndex = 4;

constexpr uint32_t FormatCategory(uint32_t format) { return (format >> 24) & 0x0F; }
constexpr uint32_t FormatIndex(uint32_t format) { return (format >> 16) & 0xFF; }
constexpr uint32_t FormatDecimals(uint32_t format) { return (format >> 8) & 0xFF; }
constexpr uint32_t FormatSeparator(uint32_t format) { return format & 0xFF; }
constexpr uint32_t MakeFormat(uint32_t category, uint32_t index, uint32_t decimals = 0, uint32_t separator = 0)
{
    return (category << 24) | (index << 16) | (decimals << 8) | separator;
}

// Unassigned, null and blank text print as "". The decimal separator of a number format is
// used for that text alone (a separator of 0 means the platform's). The predefined date, time
// and Boolean layouts are the context's.
QString FormatReportValue(const TrpRunContext& context, const QVariant& value, uint32_t format,
                          const QString& formatText);

// An expression may end with " #" and a format of its own ("N0,2", "N#,##0.00", "Ddd.mm.yyyy",
// "BNo;Yes"): it is cut off the expression and replaces the object's format; an override of
// another kind is only cut off.
void ApplyFormatOverride(QString& expression, uint32_t& format, QString& formatText);
