#pragma once

#include "exchange/TranslationCheck.h"

/// The fit module (lorvo-fit.so) holds the preview's measure of texts
/// with Qt's font machinery. The command line loads it only for the fit
/// check: linked into the program, Qt's libraries would cost every command
/// their loading time (about 15 ms, more than reading a large script).
///
/// The module's one function makes a measure that also owns a windowless
/// application for the fonts when the process has none. The measure is
/// destroyed through FitMeasure's virtual destructor.
inline constexpr char kFitModuleName[] = "lorvo-fit.so";
inline constexpr char kNewFitMeasureFunction[] = "LingorelNewFitMeasure";
using NewFitMeasureFunction = FitMeasure* (*)(int translationsCodePage);
