#pragma once
// From rates to the recorded spectrum and the planning figures: peaks with the
// detector's width, escape peaks, shelves, dead time and pile-up, on the window's
// 1025-channel scale.

#include "physics/response.h"
#include "physics/result.h"
#include "physics/scatter.h"

namespace lumetra::physics {

// What a synthesis fills: the spectrum's layers and the figures, or the figures
// alone (the layers stay empty; the rates, S, B, ICR, OCR and dead time are the same
// numbers, for a fraction of the time).
enum class Drawing { layers, figures_only };

// Fills result.layers (empty with Drawing::figures_only), result.figures and
// result.target_share from result.lines and the scatter (which it also stores in the
// result).
void synthesise(const Setup& setup, const Sample& sample, const Response& response,
                const Scatter& scatter, Result& result, Drawing drawing = Drawing::layers);

}  // namespace lumetra::physics
