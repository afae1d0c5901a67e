#include "PolicyDialogFactory.h"

#include "InsuranceDialog.h"
#include "PensionDialog.h"

#include <QPointer>

PolicyDialogFactory MakePolicyDialogFactory(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](PolicyKind kind) -> std::unique_ptr<CPolicyDialog> {
        if (kind == PolicyKind::Insurance)
            return std::make_unique<CInsuranceDialog>(owner.data());
        return std::make_unique<CPensionDialog>(owner.data());
    };
}
