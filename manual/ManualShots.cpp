#include "ManualShots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <numbers>

#include "BlockFile.h"
#include "DocumentState.h"
#include "Drawing.h"
#include "DrawingOutput.h"
#include "DxfImportDialog.h"
#include "FileSystem.h"
#include "FrmBlkShoSel.h"
#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "FrmEditPntMov.h"
#include "Icons.h"
#include "SectionPanel.h"
#include "frmMain.h"

namespace chokusho {

namespace {

/** A chambered block: outer wall, two chambers with dotted inner walls, a centroid. */
BlockData SampleBlock()
{
    BlockData r;
    r.Name = "直立消波ブロック A-40";
    r.Kind = "スリット型";
    r.B = 4.0;
    r.H = 3.0;
    r.L = 2.5;
    r.Gx = 2.0;
    r.Gy = 1.35;
    r.V = 21.5;
    r.GxMode = 1;
    const double layers[][3] = {{1.0, 8.0, 2.02}, {2.0, 6.75, 1.98}, {3.0, 6.75, 2.0}};
    for (const auto& layer : layers) {
        r.LayerH[r.LayerCount] = layer[0];
        r.LayerDV[r.LayerCount] = layer[1];
        r.LayerV[r.LayerCount] = (r.LayerCount > 0 ? r.LayerV[r.LayerCount - 1] : 0) + layer[1];
        r.LayerGx[r.LayerCount] = layer[2];
        ++r.LayerCount;
    }
    const double points[][2] = {{0, 0},     {0, 3},     {4, 3},     {4, 0},     {0.6, 0.5}, {0.6, 2.5},
                                {1.7, 2.5}, {1.7, 0.5}, {2.3, 0.5}, {2.3, 2.5}, {3.4, 2.5}, {3.4, 0.5}};
    for (const auto& p : points) {
        ++r.PointCount;
        r.PointX[r.PointCount] = p[0];
        r.PointY[r.PointCount] = p[1];
    }
    const int segments[][3] = {{1, 2, 0}, {2, 3, 0}, {3, 4, 0},  {4, 1, 0},   {5, 6, 1},   {6, 7, 1},
                               {7, 8, 1}, {8, 5, 1}, {9, 10, 1}, {10, 11, 1}, {11, 12, 1}, {12, 9, 1}};
    for (const auto& s : segments) {
        ++r.LineCount;
        r.LineStart[r.LineCount] = static_cast<std::int16_t>(s[0]);
        r.LineEnd[r.LineCount] = static_cast<std::int16_t>(s[1]);
        r.LineKind[r.LineCount] = static_cast<std::int16_t>(s[2]);
    }
    return r;
}

/**
 * A section as a CAD drawing holds it, in millimetres: the outline with a round hole and the
 * chamber on 外形, the chamber's hidden edges on かくれ線, and dimension lines on 寸法.
 */
DxfDrawing ManualDxf()
{
    DxfDrawing dxf;
    dxf.layers = {{"外形", false, false, 9}, {"かくれ線", false, false, 2}, {"寸法", false, false, 3}};
    const auto line = [&](double x1, double y1, double x2, double y2, int layer) {
        dxf.lines.push_back({x1, y1, x2, y2, layer, layer == 1});
    };
    const double outline[][2] = {{0, 0}, {6000, 0}, {3500, 5000}, {0, 5000}};
    for (int i = 0; i < 4; ++i)
        line(outline[i][0], outline[i][1], outline[(i + 1) % 4][0], outline[(i + 1) % 4][1], 0);
    const double chamber[][2] = {{700, 1000}, {2600, 1000}, {2600, 3600}, {700, 3600}};
    for (int i = 0; i < 4; ++i)
        line(chamber[i][0], chamber[i][1], chamber[(i + 1) % 4][0], chamber[(i + 1) % 4][1], 0);
    line(0, 1600, 700, 1600, 1);
    line(0, 3000, 700, 3000, 1);
    line(0, -600, 6000, -600, 2);
    line(0, -800, 0, -400, 2);
    line(6000, -800, 6000, -400, 2);
    dxf.arcs.push_back({4000, 1000, 300, 0, 2 * std::numbers::pi, {}, 0, false});
    dxf.insUnits = 4;
    return dxf;
}

QImage Grab(QWidget& widget)
{
    widget.show();
    QTest::qWait(200);
    if (!QTest::qWaitForWindowExposed(&widget))
        QApplication::processEvents();
    QApplication::processEvents();
    return widget.grab().toImage();
}

}  // namespace

std::map<QString, QImage> TakeManualShots()
{
    std::map<QString, QImage> shots;
    // clang-format off
    const std::pair<const char*, const char*> icons[] = {
        {"icon:new", "new.svg"},         {"icon:open", "open.svg"},           {"icon:save", "save.svg"},
        {"icon:zoomin", "zoom-in.svg"},  {"icon:zoomout", "zoom-out.svg"},    {"icon:all", "show-all.svg"},
        {"icon:redraw", "redraw.svg"},   {"icon:grid", "grid.svg"},           {"icon:connect", "connect.svg"},
        {"icon:deleteline", "delete-line.svg"}, {"icon:deletepoint", "delete-point.svg"},
        {"icon:undo", "undo.svg"},       {"icon:help", "help.svg"},          {"icon:redo", "redo.svg"},
        {"icon:addpoint", "add-point.svg"},
    };
    // clang-format on
    for (const auto& [name, file] : icons)
        shots[QString::fromUtf8(name)] = UiIcon(QString::fromUtf8(file)).pixmap(24, 24).toImage();

    QTemporaryDir folder;
    const ProgramFolders folders{PathFromUtf8(folder.path().toStdString()),
                                 PathFromUtf8(folder.filePath(QStringLiteral("config")).toStdString())};
    DocumentState state;
    state.CurData = SampleBlock();
    frmMain window(state, folders);
    FrameLogic& logic = window.logic();
    logic.mnuDispAll_Click();
    logic.modes().Picture1_MouseMove(MouseButtons(), 300, 200);
    shots[QStringLiteral("shot:main")] = Grab(window);

    // 断面の塗り: the material the section counts; the dotted chambers are no boundary.
    logic.mnuDispShade_Click();
    shots[QStringLiteral("shot:shade")] = Grab(window);
    logic.mnuDispShade_Click();

    // Connecting points: the chain has started at point 2 and the rubber line follows the pointer.
    logic.mnuLineIn_Click();
    const CanvasPoint start = logic.view().KzToGz(state.CurData.PointX[2], state.CurData.PointY[2]);
    logic.modes().Picture1_MouseDown(MouseButton::Left, start.gx, start.gy);
    const CanvasPoint pointer = logic.view().KzToGz(1.2, 2.0);
    logic.modes().Picture1_MouseMove(MouseButtons(), pointer.gx, pointer.gy);
    shots[QStringLiteral("shot:connect")] = Grab(window);
    logic.Raber_Reset();

    // Adding points: the grid shown, a point just added on a crossing, the prompt below.
    logic.mnuDispGrid_Click();
    logic.mnuPointAdd_Click();
    const CanvasPoint crossing = logic.view().KzToGz(3.0, 1.0);
    logic.modes().Picture1_MouseDown(MouseButton::Left, crossing.gx, crossing.gy, true);
    logic.modes().Picture1_MouseMove(MouseButtons(), crossing.gx + 40, crossing.gy - 30);
    shots[QStringLiteral("shot:addpoint")] = Grab(window);
    logic.Undo_Click();
    logic.Raber_Reset();
    logic.mnuDispGrid_Click();

    // The picker, showing a folder of three blocks.
    BlockData other = state.CurData;
    for (const char* name : {"A-40", "B-45", "C-50"}) {
        other.Name = std::string("直立消波 ") + name;
        other.B += 0.5;
        WriteBlockFile(other, PathToUtf8(folders.program / (std::string(name) + ".csv")));
    }
    state.DataPath = PathToUtf8(folders.program) + "/";
    {
        FrmBlkShoSel picker(state, folders.program, &window);
        shots[QStringLiteral("shot:picker")] = Grab(picker);
    }
    {
        FrmEditPnt points(state, &window);
        shots[QStringLiteral("shot:points")] = Grab(points);
    }
    {
        FrmEditInf params(state, &window);
        shots[QStringLiteral("shot:params")] = Grab(params);
        // 断面から計算 over it: the sample's entered Ｖ against its section's, a notice in red.
        QTimer::singleShot(300, &params, [&params, &shots] {
            for (SectionPanel* panel : params.findChildren<SectionPanel*>()) {
                shots[QStringLiteral("shot:section")] = panel->grab().toImage();
                panel->reject();
            }
        });
        if (auto* section = params.findChild<QPushButton*>(QStringLiteral("CmdSection")))
            section->click();
    }
    {
        state.MoveDX = 0.5;
        state.MoveDY = -0.25;
        FrmEditPntMov move(state, &window);
        shots[QStringLiteral("shot:move")] = Grab(move);
    }
    {
        // The import's preview with the dimensions' layer unticked.
        DxfImportDialog preview(ManualDxf(), QStringLiteral("断面図.dxf"), &window);
        if (auto* layers = preview.findChild<QListWidget*>(QStringLiteral("ImportLayers")))
            layers->item(2)->setCheckState(Qt::Unchecked);
        shots[QStringLiteral("shot:dxfimport")] = Grab(preview);
    }
    {
        // An exported page: A4 landscape at 1:50 with point numbers, the layer table and the
        // overall dimensions, its paper's edge drawn in grey.
        DrawingOptions options;
        options.scale = 50;
        options.dimensions = DimensionStyle::Overall;
        options.landscape = true;
        options.pointNumbers = true;
        options.layerTable = true;
        QImage page = DrawingImage(BuildDrawing(SampleBlock(), options, "A-40.csv", "2026/12/07"), 110);
        QPainter painter(&page);
        painter.setPen(Qt::gray);
        painter.drawRect(page.rect().adjusted(0, 0, -1, -1));
        shots[QStringLiteral("shot:export")] = page;
    }
    return shots;
}

}  // namespace chokusho
