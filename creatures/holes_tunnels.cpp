// Tunnel moves, emergence-interval swaps and emergence holes.
#include "app/main_window.h"

void TForm1::tmrTunnelTimer() {}

void TForm1::MoveTunnel(int, int, int) {}

void TForm1::tmrEmergeSwapTimer() {}

void TForm1::tmrEmergeHoleTimer() {}

void TForm1::WarnHole(int, int, int) {}

void TForm1::OpenEmergenceHole(int, int, int) {}
