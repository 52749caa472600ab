// A picture from a file, such as the plan of a room, decoded by the backend and painted by a
// canvas. Decoding is the system's (on Windows its imaging component, loaded when first used).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TPicture {
public:
    virtual ~TPicture() = default;
    // Its size in its own pixels.
    virtual std::int64_t Width() const = 0;
    virtual std::int64_t Height() const = 0;
};

enum class TPictureProblem { None, NotFound, Unreadable, NotAPicture, TooLarge };

struct TPictureLoad {
    std::shared_ptr<const TPicture> picture;  // null when it could not be loaded
    TPictureProblem problem = TPictureProblem::None;
    std::string reason;  // the system's words (UTF-8), for the message
};

namespace backend {

// PNG, JPEG, BMP, GIF or TIFF (their first frame).
TPictureLoad LoadPicture(const std::string& path);

}  // namespace backend
