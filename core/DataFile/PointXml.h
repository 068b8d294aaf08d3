#pragma once
// The data file's elements as the hardware tree writes and reads them: attribute access that turns
// a missing or unreadable attribute into the failure the loader reports, and the point element.
#include "core/TITPoint.h"

#include <QLatin1StringView>

class QXmlStreamAttributes;
class QXmlStreamReader;
class QXmlStreamWriter;

// An element's index attribute ("Addr", "No"). A missing or non-integer one raises Exception;
// a number beyond the range of indices gives -1, which names no block, suspension or sensor.
int ReadIndexAttribute(const QXmlStreamAttributes& attributes, QLatin1StringView name);

// A "point" element's time and temperature. The time is read from "time" (fixed or older locale
// form) or, when that text is in a form not known here, from "unixtime"; a missing "time" or
// "value", or texts that cannot be read, raise Exception.
TTITPoint ReadPoint(const QXmlStreamAttributes& attributes);

// Raises Exception with the reader's position when the document is broken or cut short.
void ThrowOnXmlError(const QXmlStreamReader& xml);

// A "point" element with "time", "value" and "unixtime", in that order.
void WritePoint(QXmlStreamWriter& xml, const TTITPoint& point);
