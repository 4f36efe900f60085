#pragma once

#include <gtest/gtest.h>

#include "BlockData.h"
#include "ViewTransform.h"

namespace chokusho::test {

/** The view fitted to every point of `data` on a canvas of width x height pixels, as on opening. */
ViewTransform FittedView(const BlockData& data, int width = 600, int height = 400);

/** Whether the view's window is xmin..xmax x ymin..ymax within `eps`; a failure shows the window. */
::testing::AssertionResult WindowIs(const ViewTransform& view, double xmin, double xmax, double ymin, double ymax,
                                    double eps = 1e-9);

}  // namespace chokusho::test
