// Must not compile with the core's compile line: the media libraries belong to the adapters and hosts.
#include <SDL.h>
