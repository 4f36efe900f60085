#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "DocumentState.h"
#include "FileSystem.h"
#include "frmMain.h"

namespace chokusho::test {

/** A main window whose program and configuration folders are fresh temporary folders. */
struct WindowFixture {
    QTemporaryDir program;
    QTemporaryDir config;
    DocumentState state;
    std::unique_ptr<frmMain> window;

    ProgramFolders folders() const
    {
        return {PathFromUtf8(program.path().toStdString()), PathFromUtf8(config.path().toStdString())};
    }
    frmMain& make()
    {
        window = std::make_unique<frmMain>(state, folders());
        return *window;
    }
    frmMain& show()
    {
        make();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("the main window was not exposed");
        return *window;
    }
};

/** A rectangular block of 10 m x 8 m: points 1..4 anticlockwise from the origin, four solid sides, centroid inside. */
inline void PutSampleBlock(BlockData& data)
{
    const double xs[] = {0, 10, 10, 0};
    const double ys[] = {0, 0, 8, 8};
    data.PointCount = 4;
    for (int n = 1; n <= 4; ++n) {
        data.PointX[n] = xs[n - 1];
        data.PointY[n] = ys[n - 1];
    }
    data.LineCount = 4;
    for (int k = 1; k <= 4; ++k) {
        data.LineStart[k] = static_cast<std::int16_t>(k);
        data.LineEnd[k] = static_cast<std::int16_t>(k % 4 + 1);
        data.LineKind[k] = kSolidLine;
    }
    data.Gx = 5;
    data.Gy = 4;
}

}  // namespace chokusho::test
