// Resource numbers shared by the .rc file and the code that reads the embedded bytes.
#pragma once

// The exe's icon group; the skin engine's default window icon looks for number 0x80 too.
#define IDI_TOOLBOX_APP 128

// Built-in pictures, embedded as RCDATA byte arrays.
#define IDR_ELEMENT_SHEET 201  // PNG 205 x 260 RGBA: frame pieces
#define IDR_CONTROL_SHEET 202  // BMP 160 x 55 24-bit: push-button, check-box and radio cells
#define IDR_DOCUMENT_ICON 203  // ICO 32 x 32 32-bit: blank document page
#define IDR_DEFAULT_SKIN 204   // JPEG 388 x 401: the default banner picture
#define IDR_TOOLBOX_ICON 205   // ICO 64/48/32/24/16 32-bit: banner button icon
