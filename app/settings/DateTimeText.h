#pragma once
// Reading dates and times that the program's files hold as text: ISO ("2024-03-01 14:05:00") or
// day first with dots as written under a Russian locale ("01.03.2024 14:05:00", "01.03.24"),
// the time optional; and, where a file keeps one, a bare time ("0:00:00") on 30.12.1899.
#include "base/DateTime.h"

#include <QString>

#include <optional>

std::optional<TDateTime> ParseDateTimeText(const QString& text, bool acceptBareTime);
