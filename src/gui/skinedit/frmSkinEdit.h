#pragma once

#include "gui/browser/Browser.h"
#include "gui/app/Services.h"
#include "gui/skinedit/SkinEditControls.h"

#include <QWidget>

#include <memory>

namespace vestimo::shell {

class Application;

// The skin editing window: browser, bitmap viewer, CMX editor and the checks.
class frmSkinEdit : public QWidget, public SkinEditControls {
    Q_OBJECT
    Q_PROPERTY(int formLoadCount READ formLoadCount)

public:
    explicit frmSkinEdit(Application& app);

    int formLoadCount() const { return formLoads_; }
    const Services& services() const { return services_; }

    // Sends one file to the trash, asking first.
    void recycle(const QString& FileName);

public slots:
    void cmdSwitch_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Option1_Click();
    void Option2_Click();
    void cmdDefault_Click();
    void cmdCloseFile_Click();
    void cmdCheckAllBMP_Click();
    void cmdMoveFile_Click();
    void cmdCheckBMP_Click();
    void cmdDeleteBMP_Click();
    void cmdAssocFiles_Click();
    void cmdSaveCMX_Click();
    void cmdCMXError_Click();
    void cmdCheckAllCMX_Click();
    void cmdClose_Click();

private:
    void Form_Load();
    void build();

    Application& app_;
    Services services_;
    std::unique_ptr<Browser> browser_;
    int formLoads_ = 0;
};

} // namespace vestimo::shell
