#include "report/file/RtfTokenizer.h"

#include <algorithm>
#include <cstdint>

#include "base/HexText.h"

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

}  // namespace

RtfToken RtfTokenizer::Next()
{
    while (pos_ < rtf_.size() && IsLineEnd(rtf_[pos_]))
        ++pos_;
    if (pos_ >= rtf_.size())
        return {};
    RtfToken token;
    switch (rtf_[pos_]) {
    case '{':
        ++pos_;
        token.kind = RtfToken::GroupOpen;
        return token;
    case '}':
        ++pos_;
        token.kind = RtfToken::GroupClose;
        return token;
    case '\\':
        ++pos_;
        return ReadControl();
    default:
        return ReadText();
    }
}

RtfToken RtfTokenizer::ReadText()
{
    const qsizetype start = pos_;
    while (pos_ < rtf_.size()) {
        const char c = rtf_[pos_];
        if (c == '\\' || c == '{' || c == '}' || IsLineEnd(c))
            break;
        ++pos_;
    }
    RtfToken token;
    token.kind = RtfToken::Text;
    token.text = rtf_.sliced(start, pos_ - start);
    return token;
}

RtfToken RtfTokenizer::ReadControl()
{
    RtfToken token;
    if (pos_ >= rtf_.size())
        return token;   // a backslash at the very end: the document was cut short
    const char first = rtf_[pos_];
    if (!IsLetter(first)) {
        ++pos_;
        if (first == '\'' && pos_ + 1 < rtf_.size()) {
            const int high = HexDigitValue(rtf_[pos_]);
            const int low = HexDigitValue(rtf_[pos_ + 1]);
            if (high >= 0 && low >= 0) {
                pos_ += 2;
                token.kind = RtfToken::HexOctet;
                token.octet = static_cast<unsigned char>(high * 16 + low);
                return token;
            }
        }
        token.kind = RtfToken::ControlSymbol;
        token.symbol = IsLineEnd(first) ? '\n' : first;
        return token;
    }

    const qsizetype start = pos_;
    while (pos_ < rtf_.size() && IsLetter(rtf_[pos_]))
        ++pos_;
    token.kind = RtfToken::ControlWord;
    token.text = rtf_.sliced(start, std::min<qsizetype>(pos_ - start, kMaxRtfWordLength));

    const bool negative = pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && IsDigit(rtf_[pos_ + 1]);
    if (negative)
        ++pos_;
    if (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
        int64_t value = 0;
        for (; pos_ < rtf_.size() && IsDigit(rtf_[pos_]); ++pos_)
            value = std::min<int64_t>(value * 10 + (rtf_[pos_] - '0'), kMaxRtfParameter);
        token.hasParameter = true;
        token.parameter = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
        ++pos_;   // the delimiter belongs to the control word
    return token;
}

void RtfTokenizer::SkipBinary(int count)
{
    pos_ += std::clamp<qsizetype>(count, 0, rtf_.size() - pos_);
}
