#pragma once

namespace update {

// How the Update button's road ended.
enum class UpdateEnd {
    NotConfirmed,       // the user said No
    NothingToWrite,     // neither firmware was due
    Completed,          // every phase that ran wrote its firmware
    HubLibraryMissing,  // the driver check before a phase failed
    HubFileUnusable,    // the stored hub file missing, empty or altered
    ScalarFileUnusable, // the same for the scalar file
    ModelUnknown,       // no scalar write parameters for the model
    HubWriteFailed,
    ScalarWriteFailed,
};

// What the update did, for whoever drives it: the window shows its boxes as
// it goes, an unattended run turns this into its exit code.
struct UpdateOutcome {
    UpdateEnd end = UpdateEnd::NotConfirmed;
    bool hubWritten = false;
    bool scalarWritten = false;
    // The hub did not answer the status refresh after its write, so the
    // scalar phase was decided on what was known before it.
    bool hubSilentAfterWrite = false;
    // After the hub write the scalar phase was left out by the caller's rule.
    bool scalarHeldBack = false;
};

} // namespace update
