// Compiles with the core's compile line: the core needs no media library, and neither do the
// adapters' headers that the hosts include, which is what lets the media libraries stay private.
#include "app/main_window.h"
#include "platform/crash/crash_report.h"
#include "platform/curl/background_http_client.h"
#include "platform/curl/curl_http_client.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/ttf_font_rasterizer.h"
