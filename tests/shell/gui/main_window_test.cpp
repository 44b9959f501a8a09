#include "shell/CAboutDlg.h"
#include "shell/CCorvaneModulesView.h"
#include "shell/CMainFrame.h"
#include "base/ui/FormSupport.h"

#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList MenuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions()) texts << (a->isSeparator() ? "-" : a->text());
    return texts;
}

TEST(MainWindow, TitleAndMenus)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), "Corvane Utility Version 2.0.0");
    const auto top = frame.menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text() + top[1]->text(), "&Setup&About");
    EXPECT_EQ(MenuTexts(top[0]->menu()),
              (QStringList{"Setup Communications Port", "Configure Corvane Logger", "-", "&Back Up Logger Settings...",
                           "&Restore Logger Settings...", "&Compare with Backup...", "-", "E&xit"}));
    EXPECT_EQ(MenuTexts(top[1]->menu()), (QStringList{"&About Corvane Utility...", "Save &Link Log..."}));
    EXPECT_EQ(frame.findChildren<QToolBar*>().size(), 0);
    EXPECT_EQ(frame.findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly), nullptr);
}

TEST(MainWindow, OpensShowingTheWholeTextWithinTheScreenAndKeepsTheBandOnResize)
{
    CMainFrame frame;
    frame.show();
    QCoreApplication::processEvents();
    const QRect band = frame.View()->TextRect();
    EXPECT_EQ(band, frame.View()->rect().adjusted(60, 0, -60, 0));
    const QRect text = QFontMetrics(frame.View()->font()).boundingRect(
        band, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, CCorvaneModulesView::InstructionText());
    EXPECT_TRUE(band.contains(text)) << text.width() << "x" << text.height() << " in " << band.width() << "x"
                                     << band.height();
    const QSize available = frame.screen()->availableGeometry().size();
    EXPECT_LE(frame.width(), available.width());
    EXPECT_LE(frame.height(), available.height());
    // The band keeps its 60 px margins when the window is resized.
    frame.resize(frame.width() + 260, frame.height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.View()->TextRect(), frame.View()->rect().adjusted(60, 0, -60, 0));
    EXPECT_TRUE(CCorvaneModulesView::InstructionText().startsWith("\n\nSelect Setup Communications Port"));
}

TEST(MainWindow, AboutBoxThroughChildFormSeam)
{
    CMainFrame frame;
    QStringList lines;
    QString title;
    auto previous = SetFormRunner([&](QDialog& dlg) {
        title = dlg.windowTitle();
        for (QLabel* l : dlg.findChildren<QLabel*>()) {
            lines << l->text();
            EXPECT_TRUE(l->alignment() & Qt::AlignHCenter);
        }
        dlg.findChild<QPushButton*>()->click();
        return dlg.result();
    });
    frame.OnAppAbout();
    SetFormRunner(previous);
    EXPECT_EQ(title, "About Corvane Utility");
    EXPECT_EQ(lines, (QStringList{"Corvane Utility Version", "2.0.0", "12/11/2009"}));
}

}  // namespace
