#pragma once
// Which of the formats a clipboard lists are worth copying when it is saved:
// the system makes several formats from one (plain text in three encodings,
// a bitmap in three forms, a metafile in two) and makes them again when that
// one is put back, so only the fullest of each family is read and counted.
#include <cstdint>
#include <vector>

namespace corvane {

// The system's standard format numbers.
namespace cf {
inline constexpr std::uint32_t Text = 1;
inline constexpr std::uint32_t Bitmap = 2;
inline constexpr std::uint32_t MetafilePict = 3;
inline constexpr std::uint32_t OemText = 7;
inline constexpr std::uint32_t Dib = 8;
inline constexpr std::uint32_t Palette = 9;
inline constexpr std::uint32_t UnicodeText = 13;
inline constexpr std::uint32_t EnhMetafile = 14;
inline constexpr std::uint32_t Locale = 16;
inline constexpr std::uint32_t DibV5 = 17;
inline constexpr std::uint32_t OwnerDisplay = 0x80;
inline constexpr std::uint32_t DspText = 0x81;
inline constexpr std::uint32_t DspBitmap = 0x82;
inline constexpr std::uint32_t DspMetafilePict = 0x83;
inline constexpr std::uint32_t DspEnhMetafile = 0x8E;
inline constexpr std::uint32_t PrivateFirst = 0x200;
inline constexpr std::uint32_t GdiObjLast = 0x3FF; // private and GDI-object formats run to here
} // namespace cf

// The system would make `format` again from another one listed beside it.
[[nodiscard]] bool MadeFromAnother(std::uint32_t format, const std::vector<std::uint32_t>& listed);

// Whether the format's content is a handle only its owner can use, not bytes.
[[nodiscard]] bool HeldAsHandle(std::uint32_t format);

// The formats a save reads, in the listed order. Beside a data object,
// which is kept itself, what it offers only as a storage or a stream
// (`leftWithObject`: an embedded workbook, a virtual file's contents) is
// left with it: a save must not make its program render what no plain
// paste could read.
[[nodiscard]] std::vector<std::uint32_t> FormatsToCopy(
    const std::vector<std::uint32_t>& listed, const std::vector<std::uint32_t>& leftWithObject);

// Whether a data object given back lists the format: not one the system
// makes from another, nor a handle only its owner can use.
[[nodiscard]] bool ListedWhenGivenBack(std::uint32_t format, const std::vector<std::uint32_t>& listed);

} // namespace corvane
