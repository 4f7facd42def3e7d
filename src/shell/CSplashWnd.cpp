#include "shell/CSplashWnd.h"

void CSplashWnd::EnableSplash(bool) {}
void CSplashWnd::ShowSplash(QWidget*) {}
bool CSplashWnd::FilterAppMessage(QObject*, QEvent*) { return false; }
bool CSplashWnd::isShown() { return false; }
void CSplashWnd::HideSplash() {}
