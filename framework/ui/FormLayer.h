#pragma once

// Puts the form layer in place: decoded and parsed "(form ...)" and "(control ...)" values become
// real forms and controls (and encode back from them), the environment's navigation and its
// forms defined by resource files go through this layer, and the control classes built here
// replace their stand-in prototypes. Call it before the application object is made, after the
// display's makers (hot spots must be real regions and pictures real images for forms to
// hit-test and draw).

void qelInstallFormLayer();
