#include "panels/MousePanels.h"

CPanelBase* CreateMouseLightPanel(QWidget* pParent, int nMsFw) {
    if (nMsFw < 256)
        return new CLedMsDlg_8948Std(pParent);
    if ((nMsFw >> 8) == 3)
        return new CLedMsDlg_2Light(pParent);
    return new CLedMsDlg_8948Sig(pParent);
}
