// Scrap: the counter, scrap piles and gathering.
#include "app/main_window.h"

int TForm1::FindGatherable(int, int) const { return -1; }

void TForm1::MakeScrap(int, int, bool) {}

void TForm1::RedrawScrap() { DrawCounter(imScrapCt, std::to_string(Scrap)); }
