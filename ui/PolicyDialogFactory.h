// Makes the Qt input dialogs the calculation runs ask for.
#pragma once

#include "PolicyDialog.h"

class QWidget;

// A factory for CTabulonDoc::SetDialogFactory: CInsuranceDialog for insurance,
// CPensionDialog for pensions, both modal over parent.
PolicyDialogFactory MakePolicyDialogFactory(QWidget* parent);
