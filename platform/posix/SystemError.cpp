#include "platform/posix/SystemError.h"

#include <cerrno>

namespace {

struct ErrorText {
    int error;
    const char* text;
};

// The wording of a Russian system, for what opening, setting up, reading and writing a tty or a
// file can fail with.
constexpr ErrorText kTexts[] = {
    {EPERM, "Операция не позволена"},
    {ENOENT, "Нет такого файла или каталога"},
    {EINTR, "Прерван системный вызов"},
    {EIO, "Ошибка ввода/вывода"},
    {ENXIO, "Нет такого устройства или адреса"},
    {EBADF, "Неправильный дескриптор файла"},
    {EAGAIN, "Ресурс временно недоступен"},
    {ENOMEM, "Невозможно выделить память"},
    {EACCES, "Отказано в доступе"},
    {EFAULT, "Неправильный адрес"},
    {EBUSY, "Устройство или ресурс занято"},
    {EEXIST, "Файл существует"},
    {EXDEV, "Неверная ссылка между устройствами"},
    {ENODEV, "Нет такого устройства"},
    {ENOTDIR, "Это не каталог"},
    {EISDIR, "Это каталог"},
    {EINVAL, "Недопустимый аргумент"},
    {ENFILE, "Слишком много открытых файлов в системе"},
    {EMFILE, "Слишком много открытых файлов"},
    {ENOTTY, "Неприменимый к данному устройству ioctl"},
    {ETXTBSY, "Текстовый файл занят"},
    {EFBIG, "Файл слишком велик"},
    {ENOSPC, "На устройстве не осталось свободного места"},
    {EROFS, "Файловая система доступна только для чтения"},
    {EMLINK, "Слишком много ссылок"},
    {EPIPE, "Обрыв канала"},
    {ENAMETOOLONG, "Слишком длинное имя файла"},
    {ENOSYS, "Функция не реализована"},
    {ENOTEMPTY, "Каталог не пуст"},
    {ELOOP, "Слишком много уровней символьных ссылок"},
    {EOVERFLOW, "Значение слишком велико для указанного типа данных"},
    {EOPNOTSUPP, "Операция не поддерживается"},
    {ETIMEDOUT, "Время ожидания соединения истекло"},
    {EDQUOT, "Превышена дисковая квота"},
    {ESTALE, "Устаревший дескриптор файла"},
    {EHOSTDOWN, "Компьютер не в сети"},
};

} // namespace

std::string SystemErrorText(int error)
{
    for (const ErrorText& entry : kTexts)
        if (entry.error == error)
            return entry.text;
    return "Неизвестная ошибка " + std::to_string(error);
}
