// No toolkit at all: an X window of the main window's size whose two lines of text (the time, a
// number) the X server draws itself each second in its own core font. Measured by
// scripts/wakeups.sh (mode xcb): what waking once a second and drawing a little costs here,
// below any toolkit.

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

int main() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t windowValues[] = {screen->white_pixel, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 550, 296, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, windowValues);
    const xcb_font_t font = xcb_generate_id(connection);
    xcb_open_font(connection, font, 5, "fixed");
    const xcb_gcontext_t context = xcb_generate_id(connection);
    const uint32_t contextValues[] = {screen->black_pixel, screen->white_pixel, font};
    xcb_create_gc(connection, context, window, XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_FONT,
                  contextValues);
    xcb_map_window(connection, window);
    xcb_flush(connection);

    pollfd server{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        poll(&server, 1, 1000);
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
            std::free(event);
        if (xcb_connection_has_error(connection))
            return 0;
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char clock[32];
        char number[16];
        std::strftime(clock, sizeof clock, "%d/%m/%Y %H:%M:%S", &local);
        std::snprintf(number, sizeof number, "%ld", static_cast<long>(now % 100000));
        xcb_image_text_8(connection, std::strlen(clock), window, context, 20, 30, clock);
        xcb_image_text_8(connection, std::strlen(number), window, context, 20, 70, number);
        xcb_flush(connection);
    }
}
