#pragma once
// A settings file read and written key by key, as the program's windows use it: each reads its
// keys with a default for anything missing or malformed, and each write changes only its key
// in the file, which is replaced atomically (see AtomicFile.h). Reading never fails; a write
// that fails throws EIniFileError and leaves the file as it was.
//
// Files are read as UTF-8 or code page 1251 and written as UTF-8. Look-up rules: IniDocument.h.
//
// Each object keeps the parsed file and reads it again only when the file has changed on disk,
// so several objects (several windows) over one file see each other's writes. Before every
// write the file is read afresh, so a write never undoes another's. One object belongs to one
// thread; writes through different objects in one process are serialised.
#include "platform/posix/IniDocument.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

class IniFile {
public:
    explicit IniFile(std::string path);
    const std::string& FileName() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // A decimal integer ("-12", "+7") or a hexadecimal one ("$1F", "0x1F"); the default when the
    // key is missing, not a number, or outside the 32-bit range.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // Read as an integer, anything but 0 meaning true; the default when missing or not a number.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // A number with a decimal point or comma and an optional exponent; the default otherwise.
    double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(std::string_view section) const;   // the key names

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);   // "1" or "0"
    // Up to 15 significant digits with a decimal point, whatever the locale.
    void WriteFloat(std::string_view section, std::string_view key, double value);
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    // Between BeginUpdate and the matching EndUpdate, writes change only this object's copy;
    // EndUpdate applies them all to the file as it then is, in one replacement (a window saving
    // a hundred keys writes the file once). A failed EndUpdate throws and keeps the changes, so
    // that a later EndUpdate (or write) may try again.
    void BeginUpdate();
    void EndUpdate();

private:
    using Change = std::function<void(IniDocument&)>;
    struct Stamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    enum class LoadState { Ok, Unreadable };

    Stamp CurrentStamp() const;
    const IniDocument& Fresh() const;
    void Load() const;
    void Apply(Change change);
    void Commit();

    std::string path_;
    mutable IniDocument doc_;
    mutable Stamp stamp_;
    mutable bool loaded_ = false;
    mutable LoadState state_ = LoadState::Ok;
    mutable std::string loadError_;
    int updateDepth_ = 0;
    std::vector<Change> pending_;
};
