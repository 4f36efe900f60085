#include "TestViews.h"

#include <cmath>
#include <sstream>

namespace chokusho::test {

ViewTransform FittedView(const BlockData& data, int width, int height)
{
    ViewTransform view;
    view.Pic_width = static_cast<std::int16_t>(width);
    view.Pic_height = static_cast<std::int16_t>(height);
    view.FitAll(data);
    return view;
}

::testing::AssertionResult WindowIs(const ViewTransform& view, double xmin, double xmax, double ymin, double ymax,
                                    double eps)
{
    // Written so that a NaN edge fails too.
    const auto near = [eps](double actual, double expected) { return std::fabs(actual - expected) <= eps; };
    if (near(view.Dan_xmin, xmin) && near(view.Dan_xmax, xmax) && near(view.Dan_ymin, ymin) &&
        near(view.Dan_ymax, ymax))
        return ::testing::AssertionSuccess();
    std::ostringstream text;
    text.precision(17);
    text << "the window is " << view.Dan_xmin << ".." << view.Dan_xmax << " x " << view.Dan_ymin << ".."
         << view.Dan_ymax << ", not " << xmin << ".." << xmax << " x " << ymin << ".." << ymax;
    text.precision(3);
    text << " within " << eps;
    return ::testing::AssertionFailure() << text.str();
}

}  // namespace chokusho::test
