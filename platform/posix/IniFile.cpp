#include "platform/posix/IniFile.h"

#include "platform/posix/AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <mutex>
#include <sys/stat.h>

namespace {

// Writes of every IniFile in the process, so that two objects over one file never interleave
// their read-change-replace steps.
std::mutex& WriteLock()
{
    static std::mutex lock;
    return lock;
}

bool ParseDigits(std::string_view digits, int base, uint64_t& value)
{
    if (digits.empty() || digits.size() > 20)
        return false;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    return error == std::errc() && end == digits.data() + digits.size();
}

bool ParseInteger(std::string_view text, int32_t& result)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    uint64_t magnitude = 0;
    if (text.starts_with('$') || text.starts_with("0x") || text.starts_with("0X")) {
        // Hexadecimal takes the whole 32 bits ("$FFFFFFFF" is -1), as settings written by
        // older programs expect.
        if (!ParseDigits(text.substr(text.front() == '$' ? 1 : 2), 16, magnitude) || magnitude > 0xFFFFFFFFull)
            return false;
        const auto bits = static_cast<uint32_t>(negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude));
        result = static_cast<int32_t>(bits);
        return true;
    }
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (!ParseDigits(text, 10, magnitude) || magnitude > (negative ? 2147483648ull : 2147483647ull))
        return false;
    result = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
    return true;
}

bool ParseFloat(std::string_view text, double& result)
{
    std::string number(text);
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    // Only digits, one decimal separator (point or comma), a sign and an exponent; no "inf" or
    // "nan", which the settings never hold.
    if (number.find_first_not_of("0123456789.,eE+-") != std::string::npos)
        return false;
    if (std::count_if(number.begin(), number.end(), [](char c) { return c == '.' || c == ','; }) > 1)
        return false;
    std::replace(number.begin(), number.end(), ',', '.');
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result);
    return error == std::errc() && end == number.data() + number.size() && !number.empty();
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniFile::Stamp IniFile::CurrentStamp() const
{
    struct stat st {};
    if (stat(path_.c_str(), &st) != 0)
        return {};
    return Stamp{true, st.st_dev, st.st_ino, st.st_size,
                 static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void IniFile::Load() const
{
    std::string octets;
    stamp_ = CurrentStamp();
    switch (ReadWholeFile(path_, octets, &loadError_)) {
    case ReadResult::Ok:
    case ReadResult::Missing:
        doc_ = IniDocument::FromOctets(octets);
        state_ = LoadState::Ok;
        break;
    case ReadResult::Failed:
        doc_ = IniDocument();
        state_ = LoadState::Unreadable;
        break;
    }
    loaded_ = true;
}

const IniDocument& IniFile::Fresh() const
{
    // Inside an update the copy holds changes not yet on disk: keep it.
    if (!loaded_ || (updateDepth_ == 0 && CurrentStamp() != stamp_)) {
        Load();
        for (const Change& change : pending_)
            change(doc_);
    }
    return doc_;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    return Fresh().Value(section, key).value_or(std::string(defaultValue));
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    const auto text = Fresh().Value(section, key);
    int32_t value = 0;
    return text && ParseInteger(*text, value) ? value : defaultValue;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double defaultValue) const
{
    const auto text = Fresh().Value(section, key);
    double value = 0;
    return text && ParseFloat(*text, value) ? value : defaultValue;
}

bool IniFile::SectionExists(std::string_view section) const
{
    return Fresh().SectionExists(section);
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return Fresh().ValueExists(section, key);
}

std::vector<std::string> IniFile::ReadSections() const
{
    return Fresh().SectionNames();
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const
{
    return Fresh().KeyNames(section);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    // Check the name and value now, so that a bad one fails at its own write, not at EndUpdate.
    IniDocument().SetValue(section, key, value);
    Apply([s = std::string(section), k = std::string(key), v = std::string(value)](IniDocument& doc) {
        doc.SetValue(s, k, v);
    });
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    WriteString(section, key, std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

void IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    Apply([s = std::string(section), k = std::string(key)](IniDocument& doc) { doc.DeleteKey(s, k); });
}

void IniFile::EraseSection(std::string_view section)
{
    Apply([s = std::string(section)](IniDocument& doc) { doc.EraseSection(s); });
}

void IniFile::BeginUpdate()
{
    if (updateDepth_++ == 0)
        Fresh();
}

void IniFile::EndUpdate()
{
    if (updateDepth_ == 0 || --updateDepth_ > 0)
        return;
    Commit();
}

void IniFile::Apply(Change change)
{
    Fresh();
    change(doc_);
    pending_.push_back(std::move(change));
    if (updateDepth_ == 0)
        Commit();
}

void IniFile::Commit()
{
    if (pending_.empty())
        return;
    std::lock_guard guard(WriteLock());
    Load();   // the file as it is now: another object or program may have changed it
    if (state_ == LoadState::Unreadable)
        throw EIniFileError("Файл настроек \"" + path_ + "\" не читается (" + loadError_ +
                            "), и он не будет перезаписан");
    for (const Change& change : pending_)
        change(doc_);
    std::string error;
    if (!WriteFileAtomically(path_, doc_.ToUtf8(), &error))
        throw EIniFileError("Не удалось записать файл настроек \"" + path_ + "\": " + error);
    pending_.clear();
    stamp_ = CurrentStamp();
}
