#include "core/textures/TextureMessages.h"

#ifndef VESTIMO_MAINTAINER_CONTACT
#error "VESTIMO_MAINTAINER_CONTACT must be defined by the build"
#endif

namespace vestimo::textures {

// A string_view of a literal is constant-initialised, so other static initialisers may use it.
const std::string_view MaintainerContact = VESTIMO_MAINTAINER_CONTACT;

std::string notRecognizedMessage() {
    std::string message(NotRecognizedPrefix);
    message += MaintainerContact;
    message += NotRecognizedSuffix;
    return message;
}

} // namespace vestimo::textures
