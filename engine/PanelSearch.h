#pragma once
// The panel search: candidate panel sizes (generated or preset), cut on the
// sheets, written as single-size rows, then optionally the two-size plans.

#include "PanelJob.h"
#include "SearchInterfaces.h"

#include <string>

namespace vorn {

// Why a job cannot be searched; empty when it can. The texts are the
// program's own messages.
std::string PanelJobRefusal(const PanelJob& job);
std::string ArrayJobRefusal(const ArrayJob& job);

// Runs the whole panel search and hands each row to the sink as it is
// written; the caller sorts and numbers them (SortAndNumber). Throws
// SearchCancelled when the progress object cancels, and std::invalid_argument
// for a job PanelJobRefusal or PanelJobDomainError (InputDomain.h) refuses.
void RunPanelSearch(const PanelJob& job, DisplayUnit unit, ResultSink& sink,
                    SearchProgress& progress, SearchStats* stats = nullptr);

// The same search with every candidate walked one by one and the two-size
// stage run configuration by configuration, without the precomputed cuts and
// bounds: slow, kept to prove that the fast path writes exactly the same rows.
void RunPanelSearchReference(const PanelJob& job, DisplayUnit unit, ResultSink& sink,
                             SearchProgress& progress, SearchStats* stats = nullptr);

// The array composition search: grid sizes of units, one row per array size.
void RunArraySearch(const ArrayJob& job, DisplayUnit unit, ArraySink& sink,
                    SearchProgress& progress, SearchStats* stats = nullptr);

// Threads a search may use: VORN_THREADS when set (1 keeps it on the calling
// thread), else two where there are two cores. Rows never depend on it.
unsigned SearchThreads();

// Initial maximum of the progress bar for a piece of L x W (inches).
std::int64_t EstimateSteps(double L, double W);

} // namespace vorn
