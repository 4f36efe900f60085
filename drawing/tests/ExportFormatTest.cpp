#include "ExportFormat.h"

#include <gtest/gtest.h>

namespace chokusho {
namespace {

TEST(ExportFormat, KnownByItsExtensionAndByItsFileType)
{
    EXPECT_EQ(ExportFormatOf("a.PDF"), ExportFormat::Pdf);
    EXPECT_EQ(ExportFormatOf("dir.svg/a.Dxf"), ExportFormat::Dxf);
    EXPECT_EQ(ExportFormatOf(".png"), ExportFormat::Png) << "an extension alone";
    EXPECT_EQ(ExportFormatOf("a.png.csv"), std::nullopt);
    EXPECT_EQ(ExportFormatOf("pdf"), std::nullopt);
    for (const ExportFormat format : kExportFormats)
        EXPECT_EQ(FormatOfFilter(ExportFilter(format)), format);
    EXPECT_EQ(FormatOfFilter("PDF"), std::nullopt);
}

TEST(ExportFormat, TheTargetGetsTheTypesExtensionUnlessItHasAnExports)
{
    EXPECT_EQ(ExportTarget("/d/北側", ExportFormat::Svg), "/d/北側.svg");
    EXPECT_EQ(ExportTarget("/d/No.3", ExportFormat::Pdf), "/d/No.3.pdf");
    EXPECT_EQ(ExportTarget("/d/a.PNG", ExportFormat::Pdf), "/d/a.PNG") << "the typed type wins";
}

}  // namespace
}  // namespace chokusho
