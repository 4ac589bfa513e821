#pragma once

#include "platform/render/RenderError.h"
#include "platform/render/Scene.h"

#include <QByteArray>

#include <vector>

// Finished pictures as a PNG file's bytes, for callers that keep or write pictures without ever
// holding an image (the floor above sees QtCore alone).
namespace vestimo::platform::render {

// The scene drawn and encoded as a PNG file's bytes; empty when refused (with `error` saying why,
// when given) or when it could not be encoded.
QByteArray renderPng(const std::vector<SceneMesh>& meshes, const RenderView& view,
                     RenderError* error = nullptr);

// A texture alone, as the card of a texture no skin claims shows it: scaled to fit `width` by
// `height` with its shape kept, texels enlarged without smoothing, centred on the background.
// Encoded as a PNG; empty when `bmp` is not a picture or a side is out of range.
QByteArray texturePng(const QByteArray& bmp, int width, int height);

} // namespace vestimo::platform::render
