#pragma once
// A placed silo's record card and its sensors' calibration in the silo-block layout file: the
// "silos" element's own attributes after "Row" and "Col", and its "tit" children.
class QDomElement;
class QXmlStreamWriter;
class TSilos;
class TTIT;

// Writes "Addr", "No", "SilosName", "LoadData", "LoadDataUnix", "TypeCorn", "ClassCorn",
// "Weight", "Wet", "OperName" into the open "silos" element, then one "tit" per sensor.
void SaveParams(const TSilos& silos, QXmlStreamWriter& xml);
void SaveParams(const TTIT& tit, QXmlStreamWriter& xml);

// Reads the record card (absent texts become empty, absent numbers 0, an unreadable load date
// falls back to "LoadDataUnix"), then the calibration of every sensor a "tit" child names.
// A "tit" without "Tk", "Mult" or "Off", or a number that is not one, raises EConvertError.
void LoadParams(TSilos& silos, const QDomElement& element);
void LoadParams(TTIT& tit, const QDomElement& element);
