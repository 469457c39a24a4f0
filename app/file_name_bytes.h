// File names as the bytes the file system holds. A mesh file stores its
// picture names as bytes that need not be UTF-8 (names written on a system
// with an 8-bit code page); Qt's own file-name decoding replaces such bytes,
// so the right picture would not open and a later save would write other
// bytes. Here every byte that is not part of valid UTF-8 travels in the
// QString as a lone low surrogate U+DC80..U+DCFF and comes back unchanged.
#pragma once

#include <QString>
#include <string>

namespace vesk {

QString FileNameFromBytes(const std::string& bytes);
// The exact bytes FileNameFromBytes was given; other names as UTF-8.
std::string FileNameBytes(const QString& name);

}  // namespace vesk
