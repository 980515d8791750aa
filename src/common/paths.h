#pragma once
// File names. The system names every file as the application folder plus a
// fixed relative name in its own form ("OPTION1N\KYOSOBA.dat"); the
// separator is mapped to the native one here and nowhere else. Values taken
// from records that become part of a file name are checked first, so that a
// hostile record never names a file outside the application folder.
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstddef>
#include <string>

namespace rw {

// "OPTION1N\KYOSOBA.dat" -> "OPTION1N/KYOSOBA.dat".
QString nativeName(QStringView systemName);
// Folder + system name; `folder` ends with a separator.
QString joinPath(const QString& folder, QStringView systemName);

// A name of the application folder fixed at compile time, as a template
// argument.
template <std::size_t N>
struct NameText {
    char16_t text[N]{};
    constexpr NameText(const char16_t (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
    }
    static constexpr std::size_t length = N - 1;
};

namespace detail {
template <NameText Folder, NameText Name>
inline constexpr auto kJoinedName = [] {
    std::array<char16_t, Folder.length + 1 + Name.length + 1> out{};
    std::size_t k = 0;
    for (std::size_t i = 0; i < Folder.length; ++i) out[k++] = Folder.text[i];
    out[k++] = u'\\';
    for (std::size_t i = 0; i < Name.length; ++i) out[k++] = Name.text[i];
    return out;
}();
}  // namespace detail

// Folder + "\" + name in the system's form, made at compile time, so that a
// folder's name is spelled once: kInFolder<kPackageFolder, u"KYOSOBA.dat">.
template <NameText Folder, NameText Name>
inline constexpr const char16_t* kInFolder = detail::kJoinedName<Folder, Name>.data();

// The same made at run time: folder + "\" + name.
QString inFolder(QStringView folder, QStringView name);

bool isDigits(QByteArrayView text, qsizetype length);
// A registration or breeding number: ten digits.
inline bool isRegistrationNumber(QByteArrayView t) { return isDigits(t, 10); }
// A RaceID: twelve digits.
inline bool isRaceId(QByteArrayView t) { return isDigits(t, 12); }
// A RaceKey16: sixteen digits; a race date: eight.
inline bool isRaceKey16(QByteArrayView t) { return isDigits(t, 16); }
inline bool isRaceDate(QByteArrayView t) { return isDigits(t, 8); }
// A DayKey (one race day at one racecourse): fourteen digits.
inline bool isDayKey(QByteArrayView t) { return isDigits(t, 14); }

// The value as it may be shown in a message: printable ASCII kept, every
// other byte a '?'.
std::string printable(QByteArrayView t);

// Throw StepFailure with a clear message when the value is not of its form.
QString checkedRegistrationNumber(QByteArrayView t);
QString checkedRaceId(QByteArrayView t);
QString checkedDayKey(QByteArrayView t);

// A code page 932 text from a record or the code table that becomes part of
// one file name (a course name): the decoded text, or StepFailure naming
// `what` when it could lead out of its folder or is refused by file
// systems (a separator, "..", a control character, one of : * ? " < > |,
// bytes that are not code page 932). An empty text is allowed.
QString checkedNamePart(QByteArrayView cp932, const char* what);

}  // namespace rw
