#include "LoginSession.h"

#include "SeedData.h"

LoginSessionState LoginSession;

QString rightColumn(Right right)
{
    return data::rightsColumns().at(int(right));
}
