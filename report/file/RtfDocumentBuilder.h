#pragma once
// How the RTF reader turns what it has read into a QTextDocument: the character and paragraph
// states that RTF groups carry, the font and colour tables they refer to, and the builder that
// appends runs of text and paragraph ends to the document. The reader (RtfReader.cpp) is its
// one user.
#include <optional>
#include <utility>
#include <vector>

#include <QColor>
#include <QHash>
#include <QTextCursor>
#include <QTextDocument>

#include "base/CodePage.h"

constexpr int kDefaultHalfPoints = 24;   // RTF's default size: 12 points

struct RtfCharState {
    int font = -1;   // font table number; -1 the document's default font (\deff)
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;   // colour table index; 0 is the automatic colour
    int background = 0;

    bool operator==(const RtfCharState&) const = default;
};

struct RtfParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    bool bullet = false;   // a bulleted paragraph (\pnlvlblt)

    bool operator==(const RtfParaState&) const = default;
};

struct RtfFont {
    QString name;
    std::optional<CodePage> codePage;   // none: the document's
};

// The fonts and colours that character states refer to.
struct RtfTables {
    QHash<int, RtfFont> fonts;
    std::vector<QColor> colours;   // an invalid colour is the automatic one
    int defaultFont = 0;

    const RtfFont* FontOf(const RtfCharState& chars) const;
    QColor ColourAt(int index) const;
};

// Builds the document from runs of text in a character state and paragraph ends. A paragraph
// end only marks that a new block is due, so that a last \par before the end of the document
// adds no empty paragraph. The whole load is one edit: the cursor then leaves the layout alone.
class RtfDocumentBuilder {
public:
    RtfDocumentBuilder(QTextDocument& document, const RtfTables& tables);
    ~RtfDocumentBuilder();

    void Append(QStringView text, const RtfCharState& chars, const RtfParaState& para);
    void EndParagraph(const RtfParaState& para, const RtfCharState& chars);
    // The document ends: the last paragraph, unless a \par closed it, takes the format in force.
    void Finish(const RtfParaState& para);
    // The font or colour table changed: formats made so far may name other fonts now.
    void TablesChanged() { formats_.clear(); }

private:
    void Flush();
    void OpenDueBlock(const RtfCharState& chars, const RtfParaState& para);
    void SetParagraph(const RtfParaState& para);
    // The current block joins the bullet list of the block before it, or starts one; or leaves
    // its list.
    void SetBullet(bool bullet);
    const QTextCharFormat& FormatOf(const RtfCharState& chars);
    QTextCharFormat MakeFormat(const RtfCharState& chars) const;

    QTextCursor cursor_;
    const RtfTables& tables_;
    QString run_;
    RtfCharState runState_;
    bool blockDue_ = false;
    // The formats the current block was given; none for the document's first block at first.
    std::optional<RtfParaState> blockPara_;
    std::optional<RtfCharState> blockChars_;
    std::vector<std::pair<RtfCharState, QTextCharFormat>> formats_;   // the recent ones
};
