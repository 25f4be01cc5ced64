#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(AboutDialog, ShowsTheVersionAndAddressAndOkAccepts)
{
    AboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "ﾊﾞｰｼﾞｮﾝ情報(Kivo)");
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts.append(label->text());
    EXPECT_TRUE(texts.contains("Kivo Version 2.31"));
    const auto* address = dialog.findChild<QLineEdit*>("webAddress");
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->text(), "https://kivo.example.org/");
    EXPECT_TRUE(address->isReadOnly());

    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    ASSERT_NE(ok, nullptr);
    dialog.open();
    EXPECT_TRUE(dialog.isModal());
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kivo
