#include "client/ui/InfoDialog.h"

#include "client/ui/ClientDialogIds.h"

namespace vorlan::client {

namespace {

// In the order of the profile fields, then the status.
constexpr std::array<int, kInfoFieldCount> kFieldIds = {
    IDC_INFO_NAME,   IDC_INFO_EMAIL,    IDC_INFO_COUNTRY,     IDC_INFO_HOME_PAGE, IDC_INFO_INTERESTS,
    IDC_INFO_GENDER, IDC_INFO_BIRTHDAY, IDC_INFO_PICTURE_URL, IDC_INFO_STATUS,
};

}  // namespace

InfoDialog::InfoDialog(HINSTANCE instance, conversation::ChatTextOwner& owner)
    : ModelessDialog(instance, IDD_INFO_DIALOG), owner_(owner) {}

void InfoDialog::ShowInfoWindow() { Show(); }

void InfoDialog::SetInfoCaption(const std::string& caption) {
    if (IsOpen()) {
        SetWindowTextA(handle(), caption.c_str());
    }
}

void InfoDialog::SetInfoField(int index, const std::string& text) {
    if (index < 0 || index >= kInfoFieldCount || !IsOpen()) {
        return;
    }
    fields_[static_cast<std::size_t>(index)].SetText(text);
}

bool InfoDialog::OnCommand(int id, int /*notification*/) {
    switch (id) {
        case IDC_INFO_PRIVATE_CHAT:
            if (openPrivateChat_ && openPrivateChat_()) Close();
            return true;
        case IDC_INFO_CLOSE:
        case IDOK: Close(); return true;
        default: return false;
    }
}

bool InfoDialog::OnInitDialog() {
    for (std::size_t i = 0; i < kFieldIds.size(); ++i) {
        fields_[i].Attach(GetDlgItem(handle(), kFieldIds[i]), owner_, colours_);
    }
    return true;
}

}  // namespace vorlan::client
