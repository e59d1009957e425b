// The map of a full card saved as SVG and PNG.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "FullCard.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "draw/FlowMap.h"

namespace quorvel {
namespace {

FlowMap fullCardMap(const ScratchCard& card) {
    makeFullCard(card);
    const CardFolder folder(card.folder() + "/");
    DeviceConfiguration config;
    EXPECT_TRUE(loadConfiguration(folder, config).ok());
    return layoutFlowMap(buildCallFlowModel(config, folder.folder()));
}

TEST(FlowMapPictures, SvgIsWellFormedAndHoldsTheMenus) {
    if (!onPath("sox")) GTEST_SKIP() << "sox is not installed to make the prompts";
    const ScratchCard card;
    const FlowMap map = fullCardMap(card);
    const QString path = QString::fromStdString((card.path() / "map.svg").string());
    ASSERT_TRUE(saveMapSvg(map, path));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::Characters && !xml.isWhitespace()) texts << xml.text().toString();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    const QString all = texts.join(QLatin1Char('\n'));
    for (int menu = 0; menu < kMenuCount; ++menu) {
        EXPECT_TRUE(all.contains(QStringLiteral("Menu %1").arg(menu))) << menu;
    }
    EXPECT_TRUE(all.contains(QString::fromUtf8("07:15 → Menu 0")));
}

TEST(FlowMapPictures, PngHasTheSizeAskedAndShowsTheMap) {
    if (!onPath("sox")) GTEST_SKIP() << "sox is not installed to make the prompts";
    const ScratchCard card;
    const FlowMap map = fullCardMap(card);
    for (const QSize size : {QSize(800, 600), QSize(300, 1200)}) {
        const QString path = QString::fromStdString((card.path() / "map.png").string());
        ASSERT_TRUE(saveMapPng(map, path, size));
        const QImage image(path);
        EXPECT_EQ(image.size(), size);
        // Something other than the white background was drawn.
        int inked = 0;
        for (int y = 0; y < image.height(); y += 4) {
            for (int x = 0; x < image.width(); x += 4) inked += image.pixelColor(x, y) != QColor(Qt::white);
        }
        EXPECT_GT(inked, 50);
    }
}

TEST(FlowMapPictures, UnwritablePathIsReported) {
    const FlowMap map = layoutFlowMap(CallFlowModel{});
    EXPECT_FALSE(saveMapPng(map, QStringLiteral("/nonexistent/map.png"), QSize(10, 10)));
}

// A picture saved under the name of a symbolic link replaces the link: the
// file it pointed at keeps its bytes, and no temporary file is left.
TEST(FlowMapPictures, SavingReplacesALinkAndLeavesNothingElse) {
    const FlowMap map = layoutFlowMap(CallFlowModel{});
    const ScratchCard card;
    for (const bool svg : {false, true}) {
        const std::filesystem::path kept = card.path() / "kept.txt";
        const std::filesystem::path link = card.path() / "map";
        std::filesystem::remove(link);
        { std::ofstream(kept) << "kept"; }
        std::filesystem::create_symlink(kept, link);
        const QString path = QString::fromStdString(link.string());
        ASSERT_TRUE(svg ? saveMapSvg(map, path) : saveMapPng(map, path, QSize(10, 10))) << svg;
        EXPECT_FALSE(std::filesystem::is_symlink(link)) << svg;
        EXPECT_GT(std::filesystem::file_size(link), 0u) << svg;
        std::ifstream in(kept);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept") << svg;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(card.path()), {}), 2) << svg;
    }
}

}  // namespace
}  // namespace quorvel
