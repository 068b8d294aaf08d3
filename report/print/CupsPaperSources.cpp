#include "report/print/CupsPaperSources.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>

#include <unistd.h>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <QFile>

#include "base/CodePage.h"

// libcups marks its PPD functions deprecated in favour of the destination's IPP attributes, yet a
// local queue's input slots, and the option its filters take, are still those of its PPD.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

// Kinds of source that Windows numbers itself, by the names PPD files and IPP give them.
struct TKnownSource {
    std::string_view Name;
    int Id;
};
constexpr TKnownSource kKnownSources[] = {
    {"upper", 1},    {"top", 1},    {"lower", 2},         {"bottom", 2},         {"middle", 3},
    {"manual", 4},   {"envelope", 5}, {"auto", 7},        {"tractor", 8},        {"largecapacity", 11},
    {"large-capacity", 11},         {"cassette", 14},
};
constexpr int kFirstDriverSource = 256;

// A printer's texts: PPD files are UTF-8 or, as the format began, Latin-1.
QString PrinterText(const char* text)
{
    const std::string_view octets(text ? text : "");
    return IsValidUtf8(octets) ? QString::fromUtf8(octets.data(), qsizetype(octets.size()))
                               : QString::fromLatin1(octets.data(), qsizetype(octets.size()));
}

// The (keyword, name) pairs of a printer's sources with their ids, in the printer's order.
std::vector<TrpPaperSource> Numbered(const std::vector<std::pair<QByteArray, QString>>& sources,
                                     const QByteArray& option)
{
    std::vector<TrpPaperSource> numbered;
    for (size_t i = 0; i < sources.size(); ++i) {
        const auto& [keyword, name] = sources[i];
        int id = kFirstDriverSource + int(i);
        const QByteArray lower = keyword.toLower();
        for (const TKnownSource& known : kKnownSources)
            if (lower == QByteArray::fromRawData(known.Name.data(), qsizetype(known.Name.size()))) {
                const bool taken = std::any_of(numbered.begin(), numbered.end(),
                                               [&](const TrpPaperSource& s) { return s.Id == known.Id; });
                if (!taken)
                    id = known.Id;
                break;
            }
        numbered.push_back({id, name.isEmpty() ? QString::fromUtf8(keyword) : name, option, keyword});
    }
    return numbered;
}

struct TPpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

struct TDestFreer {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};

struct TDestInfoFreer {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};

// The media sources a destination without a PPD reports, named in the user's language.
std::vector<TrpPaperSource> MediaSources(cups_dest_t* dest)
{
    const std::unique_ptr<cups_dinfo_t, TDestInfoFreer> info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest));
    if (!info)
        return {};
    ipp_attribute_t* supported = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info.get(), "media-source");
    std::vector<std::pair<QByteArray, QString>> sources;
    for (int i = 0; supported && i < ippGetCount(supported); ++i) {
        const char* keyword = ippGetString(supported, i, nullptr);
        if (!keyword)
            continue;
        sources.emplace_back(keyword, PrinterText(cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, info.get(),
                                                                        "media-source", keyword)));
    }
    return Numbered(sources, "media-source");
}

}  // namespace

std::vector<TrpPaperSource> PpdPaperSources(const QString& ppdFileName)
{
    const std::unique_ptr<ppd_file_t, TPpdCloser> ppd(ppdOpenFile(QFile::encodeName(ppdFileName).constData()));
    if (!ppd)
        return {};
    const ppd_option_t* slot = ppdFindOption(ppd.get(), "InputSlot");
    std::vector<std::pair<QByteArray, QString>> sources;
    for (int i = 0; slot && i < slot->num_choices; ++i)
        sources.emplace_back(slot->choices[i].choice, PrinterText(slot->choices[i].text));
    return Numbered(sources, "InputSlot");
}

std::vector<TrpPaperSource> CupsPaperSources(const QString& printerName)
{
    const QByteArray name = printerName.toUtf8();
    const std::unique_ptr<cups_dest_t, TDestFreer> dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr));
    if (!dest)
        return {};
    // An empty buffer asks for a file of our own (a link to a local queue's PPD), removed after.
    char ppdFile[1024] = "";
    time_t modified = 0;
    if (cupsGetPPD3(CUPS_HTTP_DEFAULT, name.constData(), &modified, ppdFile, sizeof ppdFile) == HTTP_STATUS_OK) {
        std::vector<TrpPaperSource> sources = PpdPaperSources(QFile::decodeName(ppdFile));
        unlink(ppdFile);
        return sources;
    }
    return MediaSources(dest.get());
}
