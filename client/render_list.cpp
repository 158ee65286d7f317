#include "render_list.h"

#include "ansi_palette.h"

void render_list_recorder::rerender_save_color(int rgb, int code, int attribute)
{
    saved_rgb_ = rgb;
    saved_code_ = code;
    saved_attribute_ = attribute;
    if (pending_text_.empty()) {
        pending_rgb_ = rgb;
        pending_code_ = code;
        pending_attribute_ = attribute;
    }
}

void render_list_recorder::rerender_save_string(const char *text)
{
    if (text == nullptr || *text == '\0')
        return;
    if (saved_attribute_ != pending_attribute_ || saved_rgb_ != pending_rgb_)
        rerender_flush();
    pending_text_ += text;
}

void render_list_recorder::rerender_flush()
{
    if (!pending_text_.empty()) {
        vusk_render_list record;
        record.text.swap(pending_text_);
        vusk_color color = rgb_to_color(pending_rgb_);
        record.r = color.r;
        record.g = color.g;
        record.b = color.b;
        record.attr = pending_attribute_;
        record.code = pending_code_;
        records_.push_back(std::move(record));
        pending_text_.clear();
    }
    pending_rgb_ = saved_rgb_;
    pending_code_ = saved_code_;
    pending_attribute_ = saved_attribute_;
}

void render_list_recorder::clear()
{
    rerender_flush();
    records_type().swap(records_);
    pending_attribute_ = 0;
    pending_rgb_ = 0;
    saved_attribute_ = 0;
    saved_code_ = 0;
    saved_rgb_ = 0;
}
