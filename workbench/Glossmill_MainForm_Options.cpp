#include "Glossmill_MainForm.h"
#include "Glossmill_OptionsDialog.h"

void TGlossmillMainForm::ShowOptions()
{
    if (FRMOptions)
        FRMOptions->exec();
}
