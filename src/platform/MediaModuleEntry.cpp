// The one symbol the media module file exports; the window program finds it by name.
#include <QtGlobal>

#include "BuiltInMediaModule.h"

extern "C" Q_DECL_EXPORT lectoria::platform::MediaModule* lectoria_media_module()
{
    return &lectoria::platform::BuiltInMediaModule();
}
