#pragma once
// Result codes of the render device layer. Operations that touch the display return a signed
// 32-bit result: zero is success, a negative value a failure. The shell turns every failure into
// one fixed message (shell/device_errors.h), so the values stay those the messages are keyed by.

#include <cstdint>

constexpr int32_t Code(uint32_t value) { return static_cast<int32_t>(value); }

constexpr int32_t DeviceOk = 0;

// General failures.
constexpr int32_t DeviceFailed = Code(0x80004005u);           // a step failed for no better-known reason
constexpr int32_t DeviceNotImplemented = Code(0x80004001u);   // a bitmap name without ".bmp"
constexpr int32_t DeviceInvalidArgument = Code(0x80070057u);  // a missing window, device or mode
constexpr int32_t DeviceOutOfMemory = Code(0x8007000Eu);
constexpr int32_t DeviceOutOfVideoMemory = Code(0x8876017Cu);
constexpr int32_t DeviceSurfaceLost = Code(0x887601C2u);
constexpr int32_t DeviceBitmapNotFound = Code(0x887600FFu);   // no resource and no readable file

// The device catalogue.
constexpr int32_t CatalogueNothingUsable = Code(0x81000001u);
constexpr int32_t CatalogueNoDevice = Code(0x81000002u);
constexpr int32_t CatalogueNoDeviceReferenceSeen = Code(0x81000003u);
constexpr int32_t CatalogueNoLibrary = Code(0x81000004u);

// Opening, closing and presenting with the render device, in the order Open creates things.
constexpr int32_t RenderGenericInitError = Code(0x82000000u);
constexpr int32_t RenderNoDisplaySystem = Code(0x82000001u);   // the video subsystem would not start
constexpr int32_t RenderNoExclusiveMode = Code(0x82000002u);   // full screen could not be taken
constexpr int32_t RenderNo3dInterface = Code(0x82000003u);     // OpenGL 3.3 is not available
constexpr int32_t RenderNo3dDevice = Code(0x82000004u);        // no context, or its programs failed
constexpr int32_t RenderNoDepthBuffer = Code(0x82000005u);
constexpr int32_t RenderNoViewport = Code(0x82000006u);
constexpr int32_t RenderNoWindow = Code(0x82000007u);          // the window (the primary image) failed
constexpr int32_t RenderNoClipper = Code(0x82000008u);
constexpr int32_t RenderBadDisplayMode = Code(0x82000009u);
constexpr int32_t RenderNoBackBuffer = Code(0x8200000Au);
constexpr int32_t RenderReferencesLeft = Code(0x8200000Bu);    // closed with scene resources still held
constexpr int32_t RenderNoRenderTarget = Code(0x8200000Cu);
constexpr int32_t RenderDesktopTooFewBits = Code(0x8200000Du);
constexpr int32_t RenderNoFrontSurface = Code(0x8200000Eu);    // presenting without an open device

constexpr bool IsFailure(int32_t result) { return result < 0; }
