#pragma once
// The user's small store of remembered values (window positions, recently used fonts): named
// values under key paths such as "Software\ReportEngine\Form\TrpPreviewForm", kept as the
// sections of an INI file in the user's configuration folder. Every write replaces the file
// atomically (IniFile), so a crash or a full disk leaves the earlier file whole; a file that
// is damaged or holds nonsense reads as an empty store and never stops the program.
#include "platform/posix/IniFile.h"

#include <QString>

class KeyValueStore {
public:
    // $XDG_CONFIG_HOME/Tavik_zuzid/user.ini (normally ~/.config/Tavik_zuzid/user.ini).
    static QString DefaultPath();

    explicit KeyValueStore(const QString& path = DefaultPath());
    QString FileName() const;

    bool ValueExists(const QString& key, const QString& name) const;
    // The default when the value is missing.
    QString ReadString(const QString& key, const QString& name, const QString& defaultValue = {}) const;
    // The default when the value is missing or is no integer.
    int ReadInteger(const QString& key, const QString& name, int defaultValue) const;

    // A write that fails throws EIniFileError with the reason and keeps the value for the next
    // write; the folder is created as needed.
    void WriteString(const QString& key, const QString& name, const QString& value);
    void WriteInteger(const QString& key, const QString& name, int value);

    // Writes between the two go to the file in one replacement.
    void BeginUpdate() { file_.BeginUpdate(); }
    void EndUpdate();

private:
    void MakeFolder() const;

    IniFile file_;
};
