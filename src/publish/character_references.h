#pragma once
// YOSOKEKKATHISWEEKNZ: the web and print pages are written in ASCII, every
// other character as a decimal character reference ("&#26085;"), so that a
// page reads the same under the UTF-8 its head declares, under whatever a
// server announces and after any later conversion; its bytes stay code page
// 932 text.
#include "common/file_ops.h"

#include <QByteArray>
#include <QByteArrayView>
#include <utility>

namespace rw::publish {

// The code page 932 text with every character outside ASCII written as its
// reference; ASCII bytes go through unchanged. Bytes that are not code page
// 932 become the replacement character's reference.
QByteArray CharacterReferences(QByteArrayView cp932);
// The same added to `out`.
void AppendCharacterReferences(QByteArray& out, QByteArrayView cp932);

// A page builder (appending to `out`, with or without further arguments)
// whose bytes reach `out` as CharacterReferences, also the lines it made
// before a failure part-way.
template <class Build>
auto WithCharacterReferences(Build build) {
    return [build = std::move(build)](QByteArray& out, auto&&... more) {
        QByteArray page;
        BuildThenWrite([&] { build(page, std::forward<decltype(more)>(more)...); },
                       [&] { AppendCharacterReferences(out, page); });
    };
}

}  // namespace rw::publish
