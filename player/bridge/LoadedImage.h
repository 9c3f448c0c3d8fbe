#pragma once
// A JPEG, PNG or GIF loaded into a clip becomes a movie of one frame that
// shows the picture at its natural size, its top-left corner at the clip's
// origin.
#include <memory>
#include "player/geom/Image.h"
#include "player/swf/Movie.h"

namespace tesmar::bridge {

std::shared_ptr<const swf::Movie> imageMovie(Image image, uint32_t fileLength);

} // namespace tesmar::bridge
