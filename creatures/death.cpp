// Damage to creatures and their death.
#include "app/main_window.h"

void TForm1::DamageMibbet(int, bool, double) {}
