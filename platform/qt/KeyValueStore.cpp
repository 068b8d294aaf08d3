#include "platform/qt/KeyValueStore.h"

#include "platform/posix/ProgramFolder.h"

namespace {

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

} // namespace

QString KeyValueStore::DefaultPath()
{
    return QString::fromStdString(UserConfigFolder()) + QStringLiteral("/Tavik_zuzid/user.ini");
}

KeyValueStore::KeyValueStore(const QString& path) : file_(Utf8(path)) {}

QString KeyValueStore::FileName() const
{
    return QString::fromStdString(file_.FileName());
}

bool KeyValueStore::ValueExists(const QString& key, const QString& name) const
{
    return file_.ValueExists(Utf8(key), Utf8(name));
}

QString KeyValueStore::ReadString(const QString& key, const QString& name, const QString& defaultValue) const
{
    return QString::fromStdString(file_.ReadString(Utf8(key), Utf8(name), Utf8(defaultValue)));
}

int KeyValueStore::ReadInteger(const QString& key, const QString& name, int defaultValue) const
{
    return file_.ReadInteger(Utf8(key), Utf8(name), defaultValue);
}

void KeyValueStore::WriteString(const QString& key, const QString& name, const QString& value)
{
    MakeFolder();
    file_.WriteString(Utf8(key), Utf8(name), Utf8(value));
}

void KeyValueStore::WriteInteger(const QString& key, const QString& name, int value)
{
    MakeFolder();
    file_.WriteInteger(Utf8(key), Utf8(name), value);
}

void KeyValueStore::EndUpdate()
{
    MakeFolder();
    file_.EndUpdate();
}

void KeyValueStore::MakeFolder() const
{
    const std::string& path = file_.FileName();
    const auto slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0)
        MakeFolders(path.substr(0, slash), 0700);
}
