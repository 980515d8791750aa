#pragma once
// The model package in OPTION1N: every file name subsystem 2 reads or
// writes there, in the system's form (relative to AppPath, "\" as
// separator). Each name is declared here and nowhere else.
//
// - Surface, kSurfaces: turf, dirt, jump, in the order the window loads them.
// - ModelFiles(surface): the six model files of a surface (the jump model has
//   no agari or pace file: all three weight tables come from its soha file).
// - The statistics files, the package's jockey images, the dam-foal list and
//   the two weekly extracts that the compute button writes.
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

inline constexpr char16_t kPackageFolder[] = u"OPTION1N";
inline constexpr char16_t kSireStatsFile[] = u"OPTION1N\\STALLION.dat";
inline constexpr char16_t kDamStatsFile[] = u"OPTION1N\\HAHAUMA.dat";
inline constexpr char16_t kDamExtractFile[] = u"OPTION1N\\HAHAUMATHISWEEK.dat";
inline constexpr char16_t kHorseStatsFile[] = u"OPTION1N\\KYOSOBA.dat";
inline constexpr char16_t kHorseExtractFile[] = u"OPTION1N\\KYOSOBATHISWEEK.dat";
inline constexpr char16_t kJockeyStatsFile[] = u"OPTION1N\\KISHUSEISEI.dat";
inline constexpr char16_t kTrainerStatsFile[] = u"OPTION1N\\CHOKYOSEISEI.dat";
inline constexpr char16_t kDamFoalFile[] = u"OPTION1N\\HNSKOPTION1N.dat";
inline constexpr char16_t kPackageJockeyFile[] = u"OPTION1N\\KS20200101NEW.dat";

}  // namespace rw::model
