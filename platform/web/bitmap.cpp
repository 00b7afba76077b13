// Bitmap resources in the WebAssembly build: decoded by our own reader, since
// there is no SDL there, into the same RGB565 pictures, then copied onto
// surfaces.

#include "platform/backend.h"
#include "platform/web/bmp_decoder.h"

namespace platform {

Bitmap* loadBitmap(const Module* module, int resourceId) {
    backend().note("loadBitmap", resourceId);
    const Resource* resource = findResource(module, ResourceType::Bitmap, resourceId);
    if (resource == nullptr || backend().refuses("loadBitmap")) return nullptr;
    auto* bitmap = new Bitmap;
    if (!web::decodeBmp(resource->bytes, *bitmap)) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}

}  // namespace platform
