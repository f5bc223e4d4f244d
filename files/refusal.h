// SPDX-License-Identifier: Apache-2.0
#pragma once
// Why a step gave no value (or adjusted one): the message word for word, the
// icon it is shown with and its kind. Code decides by the kind, never by the
// text. Plain C++, on the lowest floor so that every layer can refuse alike.

#include <string>

namespace valdris {

// The icon a message is shown with.
enum class MessageIcon { None, Exclamation, Information };

// One kind per rule of the program, so that no refusal passes for another's.
enum class RefusalKind {
    // The design inputs.
    AlphaBetaBothLarge,
    AlphaRange,
    BetaRange,
    SigmaNotPositive,
    SigmaTooLarge,
    LBGRAboveDCGL,
    LBGRNegative,
    LBGRResetToHalf,
    CheckDecimalPoint,
    MinimumShiftScroll,
    MinimumShiftSigma,
    DCGLUnusable,
    SampleSizeTooLarge,
    DesignNotANumber,
    EntryNotPlain,
    // The unit in the field.
    AreaUnusable,
    WidthUnusable,
    HeightUnusable,
    RectangleUnusable,
    SeedUnusable,
    GridTypeUnknown,
    TooManyLocations,
    ScanMDCUnusable,
    AreaFactorsTooFew,
    TooManyElevatedAreaSamples,
    NuclideNameMissing,
    WidthWithoutHeight,
    HeightWithoutWidth,
    SideWithoutRectangle,
    AreaFactorsTextUnusable,
    NuclidesTextUnusable,
    DCGLOfNuclides,
    SigmaOfNuclides,
    LBGROfConcentrations,
    AreaFactorArea,
    AreaFactorFactor,
    AreaFactorAreasOrder,
    AreaFactorFactorsOrder,
    AreaFactorCell,
    NuclideDCGL,
    NuclideSigma,
    NuclideConcentration,
    NuclideTwice,
    TooManyNuclides,
    ScanMDCNeedsGrossDCGL,
    // The unit's drawn boundary and its grid.
    GeometryUnavailable,
    BoundaryUnreadable,
    BoundaryNotAPolygon,
    BoundarySelfIntersecting,
    BoundaryNoCRS,
    BoundaryEmpty,
    BoundaryFeatureChoice,
    BoundaryVerticesUnusable,
    GridAngleUnusable,
    OriginUnusable,
    TooFewLocationsFit,
    // The plan's own figures.
    GivenSizeRange,
    CostRange,
    TestUnknown,
    CellNotOneNumber,
    CellRequired,
    PastedRowTooWide,
    // Measurements.
    MeasurementLine,
    MeasurementsNone,
    MeasurementsTooFew,
    MeasurementsTooMany,
    MeasurementNotFinite,
    ReferenceMissing,
    AssessmentNotComputable,
    MeasurementsNotJoined,
    ElevatedAreaSizeUnusable,
    ElevatedComparisonNotMade,
    // Files and the command line. A file not read says why by its kind:
    // no such file or the system's reason, not a regular file, too large,
    // a NUL byte.
    FileUnreadable,
    FileNotRegular,
    FileTooLarge,
    FileHoldsNul,
    FileNotWritten,
    ChartUndrawable,
    ChartNameUnusable,
    NothingToReport,
    ReportCancelled,
    // A read the user stopped (read_progress.h).
    ReadCancelled,
    PlanFileUnusable,
    CommandLine,
    // A step refused without a word: it names no row, or would change nothing.
    NoChange,
};

// The kind comes first: a refusal is never built without one.
struct Refusal {
    RefusalKind kind;
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

}  // namespace valdris
