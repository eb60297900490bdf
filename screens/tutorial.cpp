// The scripted tutorial.
#include "app/main_window.h"

void TForm1::StartTutorial() {}

void TForm1::EndTutorial() {}

void TForm1::AdvanceTutorial(bool) {}

void TForm1::tmrTickTutTimer() {}
