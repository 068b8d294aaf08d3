#include "app/main/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, WordsAreRecognisedInAnyCaseAndOthersIgnored)
{
    struct Case {
        QStringList arguments;
        bool debug, autoSave, noCom;
    };
    const Case cases[] = {
        {{"/opt/Tavik_zuzid"}, false, false, false},
        {{"/opt/Tavik_zuzid", "debug"}, true, false, false},
        {{"/opt/Tavik_zuzid", "DEBUG"}, true, false, false},
        {{"/opt/Tavik_zuzid", "AutoSave"}, false, true, false},
        {{"/opt/Tavik_zuzid", "NO_COM"}, false, false, true},
        {{"/opt/Tavik_zuzid", "no_com", "No_Com"}, false, false, true},
        {{"/opt/Tavik_zuzid", "nocom", "-debug", "debug2", "auto save"}, false, false, false},
        {{"/opt/Tavik_zuzid", "autosave", "Debug", "no_com"}, true, true, true},
    };
    for (const Case& c : cases) {
        const TCommandLine line = ParseCommandLine(c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(line.Debug, c.debug);
        EXPECT_EQ(line.AutoSave, c.autoSave);
        EXPECT_EQ(line.NoCom, c.noCom);
    }
}
