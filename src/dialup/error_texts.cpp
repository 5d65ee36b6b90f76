#include "dialup/error_texts.h"

#include "dialup/ras_records.h"

QString RasErrorDescription(int code) {
    switch (code) {
    case Ras::Pending:
        return QStringLiteral("Une opération est en cours : le modem compose le numéro.");
    case Ras::EntryInUse:
        return QStringLiteral("Cette connexion est en cours d'utilisation : raccrochez-la avant "
                              "de la renommer ou de la supprimer.");
    case Ras::NoConnection:
        return QStringLiteral("Aucune connexion n'est établie.");
    case Ras::BufferTooSmall:
        return QStringLiteral("Trop de connexions ou d'entrées à énumérer.");
    case Ras::DeviceDoesNotExist:
        return QStringLiteral("Le modem indiqué (port série) n'existe pas.");
    case Ras::PortDisconnected:
        return QStringLiteral("La connexion n'a pas pu être établie ; le port a été fermé.");
    case Ras::CannotOpenPhonebook:
        return QStringLiteral("Les connexions ne peuvent pas être lues (droits insuffisants) : "
                              "ajoutez l'utilisateur au groupe « dip ».");
    case Ras::CannotFindEntry:
        return QStringLiteral("Connexion introuvable.");
    case Ras::CannotWritePhonebook:
        return QStringLiteral("Impossible d'enregistrer la configuration de la connexion "
                              "(droits insuffisants ?).");
    case Ras::ProjectionNotComplete:
        return QStringLiteral("La configuration IP de la connexion n'est pas terminée.");
    case Ras::CorruptPhonebook:
        return QStringLiteral("La configuration de cette connexion est invalide.");
    case Ras::RemoteDisconnection:
        return QStringLiteral("La connexion a été coupée par l'ordinateur distant.");
    case Ras::UserDisconnection:
        return QStringLiteral("Connexion annulée par l'utilisateur.");
    case Ras::PortNotAvailable:
        return QStringLiteral("Le modem est déjà utilisé par un autre programme ou n'est pas "
                              "configuré.");
    case Ras::UnknownError:
        return QStringLiteral("Erreur inconnue (voir le journal).");
    case Ras::FromDevice:
        return QStringLiteral("Le modem a signalé une erreur.");
    case Ras::LineBusy:
        return QStringLiteral("La ligne est occupée. Réessayez plus tard.");
    case Ras::VoiceAnswer:
        return QStringLiteral("Une personne a répondu au lieu d'un modem.");
    case Ras::NoAnswer:
        return QStringLiteral("L'ordinateur distant ne répond pas.");
    case Ras::NoCarrier:
        return QStringLiteral(
            "Pas de porteuse : la liaison avec le modem distant n'a pas pu s'établir.");
    case Ras::NoDialtone:
        return QStringLiteral(
            "Pas de tonalité. Vérifiez que le modem est branché sur la prise téléphonique.");
    case Ras::AuthenticationFailure:
        return QStringLiteral("Accès refusé : nom d'utilisateur ou mot de passe incorrect.");
    case Ras::PortOrDevice:
        return QStringLiteral("Le modem ne répond pas ou est en panne.");
    case Ras::ServiceCannotStart:
        return QStringLiteral("Impossible de lancer pppd : installez le paquet ppp et ajoutez "
                              "l'utilisateur au groupe « dip ».");
    case Ras::PppTimeout:
        return QStringLiteral("Le serveur distant n'a pas répondu à temps.");
    case Ras::PppNoProtocols:
        return QStringLiteral(
            "PPP n'est pas disponible sur cet ordinateur (module noyau ppp_generic absent).");
    case Ras::PppLoopback:
        return QStringLiteral("Boucle détectée : le serveur PPP distant ne semble pas démarré.");
    case Ras::PppNoAddress:
        return QStringLiteral("Le serveur n'a attribué aucune adresse IP.");
    case Ras::CannotAuthenticateServer:
        return QStringLiteral("Impossible de vérifier l'identité du serveur distant.");
    default:
        return {};
    }
}

QString SystemMessageText(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("L'opération a réussi.");
    case 2:
        return QStringLiteral("Le fichier spécifié est introuvable.");
    case Ras::AccessDenied:
        return QStringLiteral("Accès refusé : seul root peut modifier les connexions de pppd "
                              "(lancez Tallivo en tant que root, ou utilisez pppconfig).");
    case Ras::InvalidHandle:
        return QStringLiteral("La connexion n'existe plus.");
    case Ras::NotEnoughMemory:
        return QStringLiteral("Mémoire insuffisante.");
    case Ras::InvalidParameter:
        return QStringLiteral("Paramètre incorrect : le nom d'utilisateur et le mot de passe ne "
                              "peuvent pas contenir de caractère de contrôle.");
    case Ras::InvalidName:
        return QStringLiteral("Nom de connexion incorrect : lettres, chiffres et « _-+.,@=%: » "
                              "seulement, sans point au début, 240 octets au plus.");
    case Ras::AlreadyExists:
        return QStringLiteral("Une connexion porte déjà ce nom.");
    case Ras::Unavailable:
        return QStringLiteral("Le service d'accès à distance n'est pas disponible.");
    case Ras::NoUserName:
        return QStringLiteral("Indiquez d'abord le nom de l'utilisateur : un mot de passe "
                              "n'est enregistré que pour un utilisateur.");
    default:
        return {};
    }
}
