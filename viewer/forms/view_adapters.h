#pragma once
#include "image_list.h"
#include "label.h"
#include "views.h"

// The model's label and image-list views over the window layer's controls.

class LabelAdapter : public LabelView {
public:
    explicit LabelAdapter(ui::Label* label) : label_(label) {}
    void SetCaption(const std::string& text) override { label_->SetCaption(text); }
    void SetVisible(bool visible) override { label_->SetVisible(visible); }
    int Left() const override { return label_->Left(); }
    void SetLeft(int left) override { label_->SetLeft(left); }
    int Width() const override { return label_->Width(); }

private:
    ui::Label* label_;
};

class ImageListAdapter : public ImageListView {
public:
    explicit ImageListAdapter(ui::ImageList* list) : list_(list) {}
    int AddIcon(HICON icon) override { return list_->AddIcon(icon); }
    void Remove(int image) override { list_->Remove(image); }
    void Clear() override { list_->Clear(); }
    int Count() const override { return list_->Count(); }

private:
    ui::ImageList* list_;
};
