#pragma once
// The model package in OPTION1N: every file name subsystem 2 reads or
// writes there, in the system's form (relative to AppPath, "\" as
// separator). The folder and the names other subsystems share come from the
// store's catalogue (jvdata/store_files.h).
//
// - Surface, kSurfaces: turf, dirt, jump, in the order the window loads them.
// - ModelFiles(surface): the six model files of a surface (the jump model has
//   no agari or pace file: all three weight tables come from its soha file).
// - The statistics files, the package's jockey images, the dam-foal list and
//   the two weekly extracts that the compute button writes.
#include "jvdata/store_files.h"

#include <QString>
#include <array>

namespace rw::model {

enum class Surface { Turf, Dirt, Jump };
inline constexpr std::array<Surface, 3> kSurfaces = {Surface::Turf, Surface::Dirt, Surface::Jump};

// The word of a surface in its file names: "Siba", "Dirt", "Shog".
QString SurfaceWord(Surface s);

struct ModelFileNames {
    QString totalData;     // category counts: the first 30 values
    QString codes;         // category codes, in model order
    QString agari;         // 上がり weights (for jump: the soha file)
    QString pace;          // ペース weights (for jump: the soha file)
    QString soha;          // 走破 weights
    QString sampleCounts;  // sample counts, in model order
};
// System names ("OPTION1N\QA1SibaTotalData201401N2018.dat" …).
ModelFileNames ModelFiles(Surface s);

// The package's own files and the statistics files, named in the store's
// catalogue.
using jv::kDamExtractFile;
using jv::kDamFoalFile;
using jv::kDamStatsFile;
using jv::kHorseExtractFile;
using jv::kHorseStatsFile;
using jv::kJockeyStatsFile;
using jv::kPackageFolder;
using jv::kPackageJockeyFile;
using jv::kSireStatsFile;
using jv::kTrainerStatsFile;

}  // namespace rw::model
