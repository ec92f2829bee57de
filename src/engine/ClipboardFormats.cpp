#include "engine/ClipboardFormats.h"

#include <algorithm>
#include <initializer_list>

namespace corvane {

namespace {

bool Lists(const std::vector<std::uint32_t>& listed, std::uint32_t format)
{
    return std::find(listed.begin(), listed.end(), format) != listed.end();
}

// The fullest form of a family first: the others are made from it.
bool FullerListed(
    std::uint32_t format, std::initializer_list<std::uint32_t> family, const std::vector<std::uint32_t>& listed)
{
    for (std::uint32_t fuller : family) {
        if (fuller == format)
            return false;
        if (Lists(listed, fuller))
            return true;
    }
    return false;
}

} // namespace

bool MadeFromAnother(std::uint32_t format, const std::vector<std::uint32_t>& listed)
{
    switch (format) {
    case cf::UnicodeText:
    case cf::Text:
    case cf::OemText:
        return FullerListed(format, {cf::UnicodeText, cf::Text, cf::OemText}, listed);
    case cf::DibV5:
    case cf::Dib:
    case cf::Bitmap:
        return FullerListed(format, {cf::DibV5, cf::Dib, cf::Bitmap}, listed);
    case cf::EnhMetafile:
    case cf::MetafilePict:
        return FullerListed(format, {cf::EnhMetafile, cf::MetafilePict}, listed);
    default:
        return false;
    }
}

bool HeldAsHandle(std::uint32_t format)
{
    switch (format) {
    case cf::Bitmap:
    case cf::MetafilePict:
    case cf::Palette:
    case cf::OwnerDisplay:
    case cf::DspText:
    case cf::DspBitmap:
    case cf::DspMetafilePict:
    case cf::DspEnhMetafile:
        return true;
    default:
        return format >= cf::PrivateFirst && format <= cf::GdiObjLast;
    }
}

bool ListedWhenGivenBack(std::uint32_t format, const std::vector<std::uint32_t>& listed)
{
    return !MadeFromAnother(format, listed) && !HeldAsHandle(format);
}

std::vector<std::uint32_t> FormatsToCopy(
    const std::vector<std::uint32_t>& listed, const std::vector<std::uint32_t>& leftWithObject)
{
    std::vector<std::uint32_t> copied;
    for (std::uint32_t format : listed)
        if (ListedWhenGivenBack(format, listed) && !Lists(leftWithObject, format))
            copied.push_back(format);
    return copied;
}

} // namespace corvane
