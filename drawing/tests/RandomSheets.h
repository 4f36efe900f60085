#pragma once

#include <string>
#include <vector>

#include "BlockData.h"
#include "Drawing.h"

namespace chokusho::test {

/** A block and the options of its drawing, named for a failure's message. */
struct SheetCase {
    BlockData record;
    DrawingOptions options;
    std::string name;
};

/**
 * `count` seeded cases fitted to the paper: sloped sections from 5 cm to 100 m either way, in
 * whole millimetres and anywhere in the model, some with a chamber, a centroid and up to 51
 * layers; on every paper (A4, A3, B4, B5 and Letter as a paper of its own size) either way, with
 * and without the layer table, point numbers and each style of dimensions.
 */
std::vector<SheetCase> RandomSheets(int count, unsigned seed);

/** The papers a drawing is laid out on, Letter standing for any other. */
std::vector<DrawingOptions> EveryPaper();

}  // namespace chokusho::test
