#pragma once
// The start banner shown in the diagram area while the job has no plan.

#include <QImage>
#include <QSize>

namespace vorn {

QImage WelcomePicture(QSize size);

} // namespace vorn
