#include "xcb_reply.h"

#include <cstdlib>

namespace yarx::ui {

void release_xcb_memory(void *from_xcb) { std::free(from_xcb); }

}  // namespace yarx::ui
