#pragma once
// Splits RTF octets into tokens: group braces, control words, control symbols, hexadecimal
// octets (\'xx) and runs of plain text. The input is untrusted, so every step is bounded:
// a control word's name is cut at kMaxRtfWordLength letters, its parameter saturates at
// ±kMaxRtfParameter however many digits follow, \bin data is skipped without reading past the
// end, and a document cut short simply ends (End) wherever it stops.
#include <QByteArrayView>

constexpr int kMaxRtfWordLength = 32;
constexpr int kMaxRtfParameter = 1'000'000'000;

struct RtfToken {
    enum Kind { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexOctet, Text };

    Kind kind = End;
    QByteArrayView text;        // the control word's name, or the run of plain text
    bool hasParameter = false;  // a control word's numeric parameter
    int parameter = 0;
    char symbol = 0;            // a control symbol's character; '\n' for a backslash before a line end
    unsigned char octet = 0;    // a hexadecimal octet's value

    bool Is(const char* word) const { return kind == ControlWord && text == word; }
};

class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView rtf) : rtf_(rtf) {}

    // Line ends between tokens carry nothing in RTF and are passed over.
    RtfToken Next();
    // Passes over the binary data that follows \binN (no further than the end).
    void SkipBinary(int count);

private:
    RtfToken ReadControl();
    RtfToken ReadText();

    QByteArrayView rtf_;
    qsizetype pos_ = 0;
};
