#pragma once

#include <QStringView>

namespace torvanu {

// Every window that saves its charts as a picture says so in these words.
inline constexpr QStringView kSaveImageButton = u"画像を保存...";
inline constexpr QStringView kImageFilter = u"PNG画像(*.png)";
inline constexpr QStringView kImageSuffix = u".png";
inline constexpr QStringView kSaveImageTitle = u"画像を保存";
inline constexpr QStringView kImageWriteError = u"画像を保存できませんでした。";

} // namespace torvanu
