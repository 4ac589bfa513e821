#pragma once

#include "gui/browser/Browser.h"
#include "gui/buyable/BuyableControls.h"
#include "gui/app/Services.h"

#include <QWidget>

#include <memory>

namespace vestimo::shell {

class Application;

// The buyable skin maker window: load a bitmap and its CMX file, pick a shop category, export.
class frmBuyableSkins : public QWidget, public BuyableControls {
    Q_OBJECT
    Q_PROPERTY(int formLoadCount READ formLoadCount)

public:
    explicit frmBuyableSkins(Application& app);

    int formLoadCount() const { return formLoads_; }
    const Services& services() const { return services_; }

public slots:
    void cmdSwitch_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void cmdDefault_Click();
    void cmdLoadFile_Click();
    void cmdLoadCMX_Click();
    void cmdCloseFile_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void cmdExport_Click();
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
