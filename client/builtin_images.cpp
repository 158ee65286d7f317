#include "builtin_images.h"

#include "builtin_image_data.h"
#include "vusk_bitmap.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <cstring>

vusk_bitmap *varn_ossic_logo_bitmap = nullptr;
vusk_bitmap *lock_bitmap = nullptr;
vusk_bitmap *icon_bitmaps[status_icon_count] = {};

namespace {
wxImage transparent_image(int width, int height)
{
    wxImage image(width, height);
    image.InitAlpha();
    std::memset(image.GetAlpha(), wxIMAGE_ALPHA_TRANSPARENT, size_t(width) * size_t(height));
    return image;
}

void replace_bitmap(vusk_bitmap *&slot, vusk_bitmap *fresh)
{
    delete slot;
    slot = fresh;
}
}

vusk_bitmap *decode_png_bitmap(const unsigned char *bytes, size_t size, int width, int height)
{
    wxImage image;
    {
        // The toolkit would report a damaged image through the log; it is
        // replaced by a blank one instead.
        wxLogNull quiet;
        wxMemoryInputStream stream(bytes, size);
        image.LoadFile(stream, wxBITMAP_TYPE_PNG);
    }
    if (!image.IsOk())
        image = transparent_image(width, height);
    return new vusk_bitmap(image);
}

void construct_all_images()
{
    replace_bitmap(varn_ossic_logo_bitmap,
                   decode_png_bitmap(varn_ossic_text_transparent_white_png,
                                     varn_ossic_text_transparent_white_png_size, logo_width,
                                     logo_height));
    replace_bitmap(lock_bitmap,
                   decode_png_bitmap(lock_png, lock_png_size, lock_icon_size, lock_icon_size));

    const struct {
        const unsigned char *bytes;
        size_t size;
    } icons[status_icon_count] = {
        {unwield_png, unwield_png_size}, {sleep_png, sleep_png_size},
        {burn2_png, burn2_png_size},     {shock2_png, shock2_png_size},
        {sicken2_png, sicken2_png_size},
    };
    for (int i = 0; i < status_icon_count; ++i)
        replace_bitmap(icon_bitmaps[i], decode_png_bitmap(icons[i].bytes, icons[i].size,
                                                          status_icon_size, status_icon_size));
}
