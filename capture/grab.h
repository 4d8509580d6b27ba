// Copying the screen into a JPEG file.
#pragma once

#include <windows.h>
#include <gdiplus.h>

// Copies what the primary screen shows, layered windows included, scales it
// to width x height and writes it as a JPEG of the given quality.
void GrabScreenToJpeg(const WCHAR* path, int width, int height, ULONG quality);

// Index of the platform's encoder for mimeType, with its class id in
// *clsid; -1, and *clsid untouched, when there is none.
int FindEncoderClsid(const WCHAR* mimeType, CLSID* clsid);

// The one-parameter block that asks the encoder for the given quality. It
// points at *quality, which must outlive it.
Gdiplus::EncoderParameters QualityParameters(ULONG* quality);
