#pragma once

// Connects printing (framework/runtime/Print.h) to the main port: while a job runs the port's
// alternate context is a drawing-context value on the printer's page and drawing goes there;
// when it ends the port draws into its offscreen buffer again and its alternate context is a
// context value on no device.
void qelInstallPrintPort();
