#pragma once
// What every fuzz target needs: the Qt application the readers run under (report text is
// measured on fonts, the board's frames are widgets), made once and without a display, and a
// scratch folder for readers that take a file name.
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QString>

// Makes the application once: a QApplication when widgets are needed, else a QGuiApplication.
void StartFuzzApplication(bool widgets = false);

// A path in the process's own scratch folder, removed when the process ends.
QString ScratchPath(const QString& name);

// Writes the octets as the whole file.
void WriteScratchFile(const QString& path, const QByteArray& octets);

inline QByteArray FuzzInput(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
