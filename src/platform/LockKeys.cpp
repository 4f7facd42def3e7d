#include "platform/LockKeys.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(VANTREL_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace lockkeys {

State state()
{
    State s;
#if defined(Q_OS_WIN)
    s.caps = GetKeyState(VK_CAPITAL) & 1;
    s.num = GetKeyState(VK_NUMLOCK) & 1;
    s.scroll = GetKeyState(VK_SCROLL) & 1;
#elif defined(VANTREL_HAVE_X11)
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        unsigned int bits = 0;
        if (Display* dpy = x11->display(); dpy && XkbGetIndicatorState(dpy, XkbUseCoreKbd, &bits) == Success) {
            s.caps = bits & 0x1;
            s.num = bits & 0x2;
            s.scroll = bits & 0x4;
        }
    }
#endif
    return s;
}

}  // namespace lockkeys
