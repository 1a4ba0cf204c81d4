#include "app/shell/CreditsForm.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Resource.h"

namespace {

// Pixels the picture starts below the window's top, and rises each step.
constexpr int32_t startOffset = -50;
constexpr int32_t step = 3;
// The application's own tick, which the credits' faster one replaces while they run.
constexpr int32_t applicationTick = 250;
// The shortest step: a missing or zero "ScrollTimeout" must not flood the queue with ticks.
constexpr int32_t shortestStep = 10;

} // namespace

void CreditsForm::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    qelMediaFormObject::open(data);
    m_scrollOffset = startOffset;
    m_leaving = false;
    m_creditsImage = qelNil;
    m_background = qelNil;
    qelValue timeout = qelLoadResource("ScrollTimeout");
    int32_t interval = timeout.type() == QEL_INT_TYPE ? timeout.payload() : 0;
    qelStartTimer(interval < shortestStep ? shortestStep : interval);
    m_music = qelLoadResource("CreditsMusic");
    playSound(m_music, 1);
}

void CreditsForm::tick()
{
    qelValue self = qelFormValue(this);
    qelMediaFormObject::tick();
    if (m_leaving)
        return;
    m_scrollOffset += step;
    if (!m_creditsImage.isNil() && m_scrollOffset > qelHeight(m_creditsImage)) {
        leave();
        return;
    }
    drawCredits();
}

void CreditsForm::drawCredits()
{
    qelValue rect = qelLoadResource("CreditsRect");
    if (rect.type() != QEL_REGION_TYPE)
        return;
    int32_t left = qelLeft(rect);
    int32_t top = qelTop(rect);
    int32_t width = qelWidth(rect);
    int32_t height = qelHeight(rect);
    if (m_creditsImage.isNil()) {
        qelValue image = qelLoadImageResource("CreditsImage");
        // Without the picture there is nothing to scroll: the credits end at once rather than
        // waiting for a click.
        if (image.type() != QEL_IMAGE_TYPE) {
            leave();
            return;
        }
        qelValue mask = qelLoadImageResource("CreditsMask");
        if (mask.type() == QEL_IMAGE_TYPE)
            qelSetImageMask(image, mask);
        m_creditsImage = image;
        m_background = qelGrabWindowImage(left, top, width, height);
    } else if (!m_background.isNil()) {
        qelShowImageAt(m_background, left, top, 0, 0, 0, 0);
    }
    qelClipRect(left, top, width, height);
    qelShowImageAt(m_creditsImage, left, top - m_scrollOffset, 0, 0, 0, 0);
    qelResetClip();
    qelRefreshWindowArea(left, top, width, height);
}

void CreditsForm::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    qelMediaFormObject::mouseDown(x, y, modifiers, clicks);
    leave();
}

void CreditsForm::leave()
{
    if (m_leaving)
        return;
    m_leaving = true;
    goHistory(1);
}

void CreditsForm::close()
{
    qelValue self = qelFormValue(this);
    qelStopTimer();
    qelStartTimer(applicationTick);
    if (hasSound())
        stopSound();
    m_music = qelNil;
    m_creditsImage = qelNil;
    m_background = qelNil;
    qelMediaFormObject::close();
}
