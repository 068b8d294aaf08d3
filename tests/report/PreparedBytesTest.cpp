// The octets a build writes into prepared pages stay as they were: a small report using most of
// what a memo's record carries (expanded, formatted, suppressed, highlighted, hidden zeros, tags,
// several lines, a part split across pages) with a picture and a line, hashed whole. The hash
// was taken from a build known to be right; prepared-report files and their readers depend on
// every octet.
#include "PageBuildFixture.h"

#include <QCryptographicHash>

#include "SampleGraphics.h"
#include "report/objects/LineView.h"
#include "report/objects/PictureView.h"

namespace {

QString Words(int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words.append(QStringLiteral("слово%1").arg(i));
    return words.join(QLatin1Char(' '));
}

struct SampleReport : ReportBuild {
    SampleReport()
    {
        AddBand(btReportTitle, 0, 60);
        auto* picture = static_cast<TrpPictureView*>(page->AddObject(std::make_unique<TrpPictureView>()));
        picture->SetBounds(10, 0, 40, 40);
        picture->Name = QStringLiteral("Logo");
        picture->Picture = TrpGraphic(gkBitmap, SampleImageFile("BMP", Qt::darkGreen, 4, 4));
        page->AddObject(std::make_unique<TrpLineView>())->SetBounds(60, 45, 500, 0);

        AddBand(btPageHeader, 70, 20);
        TrpMemoView* header = AddMemo(10, 70, 400, 20, QStringLiteral("Протокол, страница [PAGE#]"), QStringLiteral("Header"));
        header->Font.Style = fsBold;
        header->Alignment = taCenter;
        header->FrameTyp = frAllSides;

        AddBand(btMasterData, 100, 20, QStringLiteral("Row"));
        AddMemo(10, 100, 90, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Silo"))->Flags = mfSuppress;
        TrpMemoView* temp = AddMemo(100, 100, 90, 20, QStringLiteral("[tbSilo.Temp #N0.2]"), QStringLiteral("Temp"));
        temp->Alignment = taRight;
        temp->HighlightCondition = QStringLiteral("tbSilo.Temp > 20");
        temp->HighlightFillColor = 0x00FFFF;
        TrpMemoView* zero = AddMemo(190, 100, 90, 20, QStringLiteral("[tbSilo.Temp]"), QStringLiteral("Zero"));
        zero->Flags = kFlagHideZeros;
        zero->Tag = QStringLiteral("[tbSilo.Silo]");
        zero->FrameTyp = frAllSides;
        zero->FrameWidth = 1.5f;
        AddMemo(280, 100, 90, 20, QStringLiteral("[как есть]"), QStringLiteral("Plain"))->Flags = mfTextOnly;
        TrpMemoView* lines = AddMemo(370, 100, 200, 20, QStringLiteral("Т=[tbSilo.Temp]\nстрока [LINE#]"), QStringLiteral("Lines"));
        lines->Font.Name = QStringLiteral("Courier New");
        lines->Font.Size = 8;

        AddBand(btMasterFooter, 130, 20)->Flags |= kFlagStretched;
        TrpMemoView* summary = AddMemo(10, 130, 300, 20, Words(400), QStringLiteral("Summary"));
        summary->Flags = kFlagStretched | mfWordWrap;

        AddBand(btPageFooter, 160, 20);
        AddMemo(10, 160, 300, 20, QStringLiteral("Подвал"), QStringLiteral("Footer"));

        for (int i = 0; i < 60; ++i)
            AddRow(QStringLiteral("Силос %1").arg(i / 7 + 1), i % 5 == 0 ? 0.0 : i * 0.75 - 5);
    }

    // Every page's object stream, in order, hashed.
    QString Hash() const
    {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (int i = 0; i < PageCount(); ++i)
            hash.addData(report->EMFPages->Page(i).ObjectStream.data());
        return QString::fromLatin1(hash.result().toHex());
    }
};

TEST(PreparedBytes, BuildWritesTheSameOctetsAsBefore)
{
    SampleReport sample;
    sample.Build();
    EXPECT_EQ(sample.PageCount(), 4);
    EXPECT_EQ(sample.Hash(), QStringLiteral("f4aac6d4c1769ca07925a50e235872ccad46fd71"));
}

}  // namespace
