#include "storage/ui/EditProfileDialog.h"

#include "app/MainCore.h"
#include "client/ProfileEdit.h"
#include "storage/ui/StorageDialogIds.h"

namespace vorlan::storage {
namespace {

struct ProfileField {
    int id;
    std::string Profile::*text;
    std::size_t maxLength;
};

// In profile order.
const std::array<ProfileField, 8> kFields{{
    {IDC_PROFILE_NAME, &Profile::name, client::kNameFieldLimit},
    {IDC_PROFILE_EMAIL, &Profile::email, client::kProfileFieldLimit},
    {IDC_PROFILE_COUNTRY, &Profile::country, client::kProfileFieldLimit},
    {IDC_PROFILE_HOME_PAGE, &Profile::homePage, client::kProfileFieldLimit},
    {IDC_PROFILE_INTERESTS, &Profile::interests, client::kProfileFieldLimit},
    {IDC_PROFILE_GENDER, &Profile::gender, client::kProfileFieldLimit},
    {IDC_PROFILE_BIRTHDAY, &Profile::birthday, client::kProfileFieldLimit},
    {IDC_PROFILE_PICTURE_URL, &Profile::pictureUrl, client::kProfileFieldLimit},
}};

}  // namespace

EditProfileDialog::EditProfileDialog(HINSTANCE instance, app::MainCore& core)
    : ModelessDialog(instance, IDD_EDIT_PROFILE), core_(core), menuOwner_(core.Options()) {}

bool EditProfileDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const Colors& colours = core_.Colors();
    const Profile& profile = core_.Session().profile();
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        fields_[i].Attach(GetDlgItem(handle(), kFields[i].id), menuOwner_, {colours[1], colours[2]});
        fields_[i].SetText(profile.*kFields[i].text);
        LimitField(i);
    }
    return true;
}

bool EditProfileDialog::OnCommand(int id, int notification) {
    if (id == IDCANCEL) return false;
    if (notification == EN_CHANGE) {
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            if (kFields[i].id == id) LimitField(i);
        }
        return true;
    }
    if (notification != BN_CLICKED || menuOwner_.HandleCommand(id)) return true;
    if (id == IDC_PROFILE_UPDATE) {
        Update();
    } else if (id == IDC_PROFILE_CANCEL) {
        Close();
    }
    return true;
}

void EditProfileDialog::LimitField(std::size_t index) {
    fields_[index].ApplyInputLimit(client::LimitDialogField(fields_[index].Text(), kFields[index].maxLength));
}

void EditProfileDialog::Update() {
    Profile edited;
    for (std::size_t i = 0; i < kFieldCount; ++i) edited.*kFields[i].text = fields_[i].Text();
    client::UpdateProfile(core_.Session(), edited);
    Close();
}

}  // namespace vorlan::storage
