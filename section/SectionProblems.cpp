#include "SectionProblems.h"

#include <algorithm>
#include <cmath>

namespace chokusho {

namespace {

/** Entered values hold three decimals; this keeps their binary error from tipping a limit. */
double Slack(double a, double b) { return 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

}  // namespace

const char* ProblemKindName(SectionProblemKind kind)
{
    switch (kind) {
    case SectionProblemKind::OpenOutline:
        return "open-outline";
    case SectionProblemKind::NoOutline:
        return "no-outline";
    case SectionProblemKind::BadPoint:
        return "bad-point";
    case SectionProblemKind::LayerSum:
        return "layer-sum";
    case SectionProblemKind::LayersAbove:
        return "layers-above";
    case SectionProblemKind::NoLength:
        return "no-length";
    case SectionProblemKind::VolumeDiffers:
        return "volume-differs";
    case SectionProblemKind::CentroidDiffers:
        return "centroid-differs";
    }
    return "";
}

bool IsNotice(SectionProblemKind kind)
{
    return kind == SectionProblemKind::NoLength || kind == SectionProblemKind::VolumeDiffers ||
           kind == SectionProblemKind::CentroidDiffers;
}

bool VolumeDiffers(double entered, double computed, double blockVolume)
{
    return !(std::fabs(entered - computed) <= 0.01 * std::fabs(blockVolume) + Slack(entered, computed));
}

bool CentroidDiffers(double entered, double computed)
{
    return !(std::fabs(entered - computed) <= 0.01 + Slack(entered, computed));
}

bool LayerSumDiffers(double blockVolume, double layerSum)
{
    // As the block parameters' 登録 checks it.
    return !(std::fabs(blockVolume - layerSum) <= 0.0001 + Slack(blockVolume, layerSum));
}

}  // namespace chokusho
